// The log list: order, the 1024-line cap, the horizontal extent, the drain.
#include "program_fixture.h"
#include "../../res/resource.h"
#include "../../src/operator/activity_log.h"
#include "../../src/shell/installer.h"
#include "../../src/operator/window_services.h"

class ActivityLog : public ProgramTest {};

TEST_F(ActivityLog, KeepsLinesInOrderAndCapsAt1024) {
    OpenWindow();
    struct {
        int before, after;
        const char *first;
    } cases[] = {{1023, 1024, "filler"}, {1024, 1024, "filler"}, {1, 2, "filler"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.before);
        SendMessageA(Control(IDC_LOG_LIST), LB_RESETCONTENT, 0, 0);
        SendMessageA(Control(IDC_LOG_LIST), LB_ADDSTRING, 0, (LPARAM) "oldest");
        AddLogLines(c.before - 1);
        LogLine("newest");
        std::vector<std::string> lines = Log();
        ASSERT_EQ((size_t)c.after, lines.size());
        EXPECT_EQ("newest", lines.back());
        EXPECT_EQ(c.before < 1024, lines.front() == "oldest")
            << "only a full list drops its oldest";
    }
}

TEST_F(ActivityLog, ExtentGrowsWithTheWidestLineAndNeverShrinks) {
    OpenWindow();
    fakewin::SetTextWidthPerChar(8);
    fakewin::SetSystemMetric(SM_CXBORDER, 2);
    HWND list = Control(IDC_LOG_LIST);
    struct {
        const char *text;
        int extent;
    } steps[] = {
        {"", 6},            // three border widths
        {"abcd", 38},       // 4 * 8 + 6
        {"ab", 38},         // narrower: unchanged
        {"wxyz", 38},       // as wide: unchanged
        {"abcdefghij", 86}, // wider
        {"", 86},
    };
    for (const auto &step : steps) {
        SCOPED_TRACE(step.text);
        LogLine(step.text);
        EXPECT_EQ(step.extent, fakewin::ListBoxExtent(list));
        EXPECT_EQ(step.extent, g_maxLogExtent);
    }
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    LogLine("abc");
    EXPECT_EQ(86, fakewin::ListBoxExtent(list)) << "dropped lines do not shrink the extent";
    ExpectNoOpenHandles();
}

TEST_F(ActivityLog, FailedMeasurementLeavesTheExtent) {
    OpenWindow();
    LogLine("abc");
    int extent = fakewin::ListBoxExtent(Control(IDC_LOG_LIST));
    fakewin::FailNthCall("GetTextExtentPoint32A", 2);
    LogLine("a much longer line than before");
    EXPECT_EQ(extent, fakewin::ListBoxExtent(Control(IDC_LOG_LIST)));
    EXPECT_EQ(2u, Log().size());
    ExpectNoOpenHandles();
}

TEST_F(ActivityLog, DrainsTheQueueSoRequestsAndClosesArriveMidWork) {
    OpenWindow();
    PostMessageA(g_hMainWnd, WM_COMMAND, MAKEWPARAM(IDC_RESET, BN_CLICKED), 0);
    EXPECT_EQ(0, LogLine("one"));
    EXPECT_EQ(ACTION_RESET, g_requestedAction);

    PostMessageA(g_hMainWnd, WM_CLOSE, 0, 0);
    LogLine("two");
    EXPECT_EQ(1, g_closeRequested);
    EXPECT_EQ(nullptr, g_hMainWnd);
    EXPECT_EQ(0, LogLine("after the window is gone")) << "nothing to add to, nothing fails";
    ExpectNoOpenHandles();
}

TEST_F(ActivityLog, QuitMessageIsTakenAndSwallowed) {
    OpenWindow();
    PostQuitMessage(0);
    EXPECT_EQ(1, LogLine("line"));
    EXPECT_EQ(0, ProcessPendingMessages()) << "the quit message is gone";
}
