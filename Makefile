# Front door of the build. `make run` packs and opens the demo; `make test` runs every test.
JOBS ?= $(shell nproc)
WERROR ?= OFF
PYTEST ?= /usr/bin/python3 -m pytest

.PHONY: all deps build linux debug run test unit e2e asan fuzz bench format check-format check-layers clean windows \
	windows-unit install package

all: build

# Asks apt only for what is missing; set NODEPS=1 to skip.
deps:
ifndef NODEPS
	@scripts/deps.sh
endif

# Both runtimes: Linux (with crv-pack and the browser loader) and crv-runtime.exe beside them.
build: linux windows

linux: deps
	cmake --preset release -DCRV_WERROR=$(WERROR) >/dev/null
	cmake --build --preset release -j $(JOBS)

debug: deps
	cmake --preset debug -DCRV_WERROR=$(WERROR) >/dev/null
	cmake --build --preset debug -j $(JOBS)

# The Windows runtime, cross built with mingw-w64 against libraries built once into build/windows-deps.
WINDOWS_DEPS = build/windows-deps
windows: deps
	@test -f $(WINDOWS_DEPS)/lib/libzip.a -a -f $(WINDOWS_DEPS)/lib/libgtest.a \
		-a -f $(WINDOWS_DEPS)/include/nlohmann/json.hpp || JOBS=$(JOBS) scripts/cross-libs.sh $(WINDOWS_DEPS)
	cmake --preset windows -DCRV_WERROR=$(WERROR) >/dev/null
	cmake --build --preset windows -j $(JOBS)
	mkdir -p build/release/bin
	cp build/windows/bin/crv-runtime.exe build/release/bin/

# The Windows build's tests (portable and Win32 backend unit tests, the test loader, the exe's
# imports), run under Wine on a display of their own. A Wine server left by the end-to-end tests
# still belongs to their display, which is gone: it is ended, and waited for, first. The tests then
# share one server that stays up until the last has ended, so that none of them starts or ends it.
WINE_TESTS = WINEPREFIX=$(CURDIR)/build/windows/wineprefix
windows-unit: windows
	$(WINE_TESTS) wineserver -k 2>/dev/null || true
	$(WINE_TESTS) wineserver -w 2>/dev/null || true
	$(WINE_TESTS) xvfb-run -a sh -c 'wineserver -p && ctest --preset windows -j $(JOBS) --timeout 300; \
		rc=$$?; wineserver -k; exit $$rc'

# crv-pack into PREFIX/bin, the runtimes, the Linux loader and installer into PREFIX/lib/crv, the
# types and the example into PREFIX/share/crv; DESTDIR stages the whole tree elsewhere.
PREFIX ?= /usr/local
install: build
	DESTDIR="$(DESTDIR)" cmake --install build/release --prefix "$(PREFIX)"

# The Debian package of that install, in build/release/package/, checked by lintian when present.
package: build
	rm -rf build/release/package
	cd build/release && cpack -G DEB -B package
	@if command -v lintian >/dev/null; then \
		lintian --fail-on error,warning build/release/package/*.deb; \
	else \
		echo "lintian is not installed: the package is not checked (apt-get install lintian)"; \
	fi

# The demo needs the Linux build only.
run: linux
	scripts/run-demo.sh

# Unit tests, end-to-end tests against the release build (the Windows packages under Wine among
# them), the Windows build's tests under Wine, then the unit tests and the bridge's end-to-end tests
# again under the address and undefined-behaviour sanitizers.
test: build
	ctest --preset release -L unit -j $(JOBS)
	CRV_BIN_DIR=$(CURDIR)/build/release/bin $(PYTEST) -q tests/e2e
	$(MAKE) --no-print-directory windows-unit
	$(MAKE) --no-print-directory asan

unit: linux
	ctest --preset release -L unit -j $(JOBS)

e2e: build
	CRV_BIN_DIR=$(CURDIR)/build/release/bin $(PYTEST) -q tests/e2e

asan: deps
	cmake --preset asan -DCRV_WERROR=$(WERROR) >/dev/null
	cmake --build --preset asan -j $(JOBS)
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp ctest --preset asan -L unit -j $(JOBS)
	# The browser's own libraries keep memory until exit: leaks are checked by the unit tests only.
	ASAN_OPTIONS=detect_leaks=0 CRV_BIN_DIR=$(CURDIR)/build/asan/bin $(PYTEST) -q tests/e2e/test_bridge.py \
		tests/e2e/test_menu.py tests/e2e/test_file_dialogs.py tests/e2e/test_shell.py

# Every fuzz target for FUZZ_SECONDS (60 by default) in turn, with executions, coverage and
# findings per target; FUZZ_TARGETS picks some (ZipArchive MenuJson ...). Not part of CI.
FUZZ_SECONDS ?= 60
FUZZ_TARGETS ?=
fuzz: deps
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j $(JOBS)
	scripts/fuzz.sh build/fuzz $(FUZZ_SECONDS) $(FUZZ_TARGETS)

# Start-up, bridge calls and serving, each against a minimal WebKitGTK program doing the same job.
bench: linux
	@echo "N=$${N:-5} runs per side; on a quiet machine only"
	bench/startup.sh build/release
	bench/bridge.sh build/release
	bench/run.sh build/release

FORMAT_FILES = $(shell git ls-files '*.cpp' '*.h' '*.c')

format:
	clang-format -i $(FORMAT_FILES)

check-format:
	@clang-format --dry-run --Werror $(FORMAT_FILES)

# Each source folder includes only from itself and the layers below it.
check-layers:
	@scripts/check-layers.sh

clean:
	rm -rf build
