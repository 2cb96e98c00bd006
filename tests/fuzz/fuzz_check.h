// Findings of the fuzz targets. A broken invariant, or a misuse that the
// Win32 test double reports, ends the run at once so that libFuzzer keeps the
// input that caused it.
#pragma once

#define FUZZ_CHECK(condition, what)                                                                \
    ((condition) ? (void)0 : FuzzFinding(__FILE__, __LINE__, #condition, what))

[[noreturn]] void FuzzFinding(const char *file, int line, const char *condition, const char *what);

// The test double reports misuse as a test failure; outside a test run that
// would only be counted. Makes every such report a finding.
void MakeFakeReportsFatal(void);
