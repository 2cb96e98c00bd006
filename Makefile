# The two commands of the README: `make run` and `make test`.
JOBS ?= 2

.PHONY: all deps win32 host host-asan build test run clean

all: build

deps:
	@bash scripts/install-deps.sh

win32: deps
	cmake --preset win32 >/dev/null
	cmake --build --preset win32 -j$(JOBS)

host: deps
	cmake --preset host >/dev/null
	cmake --build --preset host -j$(JOBS)

host-asan: deps
	cmake --preset host-asan >/dev/null
	cmake --build --preset host-asan -j$(JOBS)

build: win32 host host-asan

# Every suite runs even when an earlier one fails; the exit status says
# whether all of them passed.
test: build
	@status=0; \
	echo "== unit tests (host)"; ctest --preset host -j$(JOBS) || status=1; \
	echo "== unit tests (AddressSanitizer + UndefinedBehaviorSanitizer)"; \
	ctest --preset host-asan -j$(JOBS) || status=1; \
	echo "== build checks and end-to-end tests under Wine"; ctest --preset win32 || status=1; \
	exit $$status

run: win32
	@bash scripts/run-program.sh build/win32

clean:
	rm -rf build dist
