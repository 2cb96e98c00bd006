// Resource identifiers shared by the resource script and the sources.
#pragma once

#define IDI_MAIN 101
#define IDD_MAIN 107

#define IDC_REGISTER     1001
#define IDC_VERSION_TEXT 1002
#define IDC_RESET        1003
#define IDC_LOG_LIST     1007
