# The two commands of the quick start, and the development targets the README
# documents. Each does its own set-up: packages, configure, build.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all setup configure build run test test-asan soak bench windows test-windows clean

all: build

setup:
	@scripts/setup.sh

configure: setup
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# Runs the demo in a window; on a machine without a display, renders a preview.
run: build
	@scripts/run.sh $(BUILD)

# Linux only: the Windows build's tests (label windows) run under test-windows.
test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -LE windows

# The whole suite built with AddressSanitizer and UndefinedBehaviorSanitizer.
ASAN_BUILD ?= build-asan
test-asan: setup
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARROW_SANITIZE=ON \
		-DTARROW_BENCH=OFF $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS) -LE windows

# The long versions of the long runs: a million logic-only frames, 20 000
# rendered frames, frame 3000 against its golden frame, and 500 full-screen
# switches after 50 warm-up switches.
soak: build
	@cd $(BUILD) && TARROW_SOAK=1 ctest --output-on-failure -L long
	@cd $(BUILD) && TARROW_SOAK=1 ctest --output-on-failure -R RepeatedSwitches

# Google Benchmark suite of the scene's pieces (not part of make test).
bench: build
	@$(BUILD)/bin/tarrow-bench

# The demo for 64-bit Windows, cross-built with MinGW-w64: build-windows/bin/
# tarrow.exe, and dist/tarrow-win64.zip with a short text beside it.
WINDOWS_BUILD ?= build-windows
windows:
	@scripts/setup.sh windows
	@cmake -S . -B $(WINDOWS_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
		-DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(WINDOWS_BUILD) -j $(JOBS)
	@scripts/pack-windows.sh $(WINDOWS_BUILD)/bin/tarrow.exe dist/tarrow-win64.zip

# The Windows build run under Wine on real X servers, against the Linux build.
test-windows: windows
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DTARROW_WINDOWS_EXE=$(abspath $(WINDOWS_BUILD))/bin/tarrow.exe $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -L windows

clean:
	@rm -rf $(BUILD) $(ASAN_BUILD) $(WINDOWS_BUILD) dist
