# The two commands of the README: `make run` and `make test`.
JOBS ?= 2
# The Wine suites wait on windows and processes much of the time: one more
# than the cores keeps both busy.
WINE_JOBS ?= 3

.PHONY: all deps win32 fuzz-build build test fuzz dist run clean

all: build

deps:
	@bash scripts/install-deps.sh

win32: deps
	cmake --preset win32 >/dev/null
	cmake --build --preset win32 -j$(JOBS)

# The path and command-line routines as libFuzzer targets, built with clang
# in their own tree under AddressSanitizer and UndefinedBehaviorSanitizer.
fuzz-build: deps
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j$(JOBS)

build: win32 fuzz-build

# Every suite runs even when an earlier one fails; the exit status says
# whether all of them passed. The fuzz runs take a fixed time each and run
# one at a time beside the Wine suites, which leave a core idle while they
# wait on windows; their report follows.
FUZZ_LOG = build/fuzz/short-runs.log
test: build
	@status=0; \
	(ctest --preset fuzz -j1 >$(FUZZ_LOG) 2>&1; echo $$? >$(FUZZ_LOG).status) & \
	echo "== build checks and the 32-bit program under Wine"; \
	ctest --preset win32 -j$(WINE_JOBS) || status=1; \
	wait; \
	echo "== short fuzz runs of the path and command-line routines (libFuzzer, AddressSanitizer + UndefinedBehaviorSanitizer)"; \
	cat $(FUZZ_LOG); [ "$$(cat $(FUZZ_LOG).status)" = 0 ] || status=1; \
	exit $$status

# Ten minutes per fuzz target; findings are kept under build/fuzz/tests/host/runs/.
fuzz: fuzz-build
	ctest --preset fuzz-long -j$(JOBS)

# dist/REGQuorvalis-<version>.zip with the operator's guide, and its SHA-256;
# the same commit always gives the same bytes. Signed with Authenticode when
# SIGN_PKCS12 and SIGN_PASSWORD_FILE name a certificate and its password;
# SIGN_TIMESTAMP_URL= (empty) signs without a time-stamp server.
SIGN_TIMESTAMP_URL ?= http://timestamp.sectigo.com
export SIGN_PKCS12 SIGN_PASSWORD_FILE SIGN_TIMESTAMP_URL
dist: win32
	bash scripts/make-dist.sh build/win32 dist

run: win32
	@bash scripts/run-program.sh build/win32

# Measurements under Wine against baselines: prints the table and writes it
# to build/bench.md and into the README. Not a test; takes about one minute natively, three emulated.
.PHONY: bench
bench: win32
	cmake --preset win32-busy >/dev/null
	cmake --build --preset win32-busy -j$(JOBS)
	cmake --build --preset win32 --target bench_inputs -j$(JOBS)
	@bash bench/run-bench.sh build/win32 build/win32-busy build/bench.md README.md

clean:
	rm -rf build dist
