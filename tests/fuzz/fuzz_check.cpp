// Aborting on findings: libFuzzer saves the input of any crashing run.
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include "fuzz_check.h"

namespace {

class AbortOnFakeReport : public testing::EmptyTestEventListener {
    void OnTestPartResult(const testing::TestPartResult &result) override {
        if (!result.failed())
            return;
        FuzzFinding(result.file_name() ? result.file_name() : "?", result.line_number(),
                    "report of the Win32 test double", result.message());
    }
};

} // namespace

void FuzzFinding(const char *file, int line, const char *condition, const char *what) {
    fprintf(stderr, "\n%s:%d: FUZZ FINDING: %s\n    (%s)\n", file, line, what, condition);
    fflush(stderr);
    abort();
}

void MakeFakeReportsFatal(void) {
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    testing::UnitTest::GetInstance()->listeners().Append(new AbortOnFakeReport);
}
