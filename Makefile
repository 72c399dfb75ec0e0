# The two commands of the quick start, and the development targets the README
# documents. Each does its own set-up: packages, configure, build.
MAKEFLAGS += --no-print-directory
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

# The programs a user runs (tarrow, tarrow-watch, tarrow-render: the build's
# target programs), configured without the tests and benchmarks, whose
# libraries running them does not need; and the configuration with them.
RUN_CONFIG = -DBUILD_TESTING=OFF -DTARROW_BENCH=OFF
TEST_CONFIG = -DBUILD_TESTING=ON -DTARROW_BENCH=ON
# Builds the programs in the folder $(1), quietly: its log is shown where it
# fails, and on a terminal a line every half minute says how far it has got.
build_programs = @scripts/build-programs.sh $(1) $(JOBS)

.PHONY: all setup configure build programs run install uninstall deb test-deb test test-asan soak \
	bench windows test-windows web serve-web test-web bench-web stills-web \
	test-wayland test-cross test-farm clean

all: build

setup:
	@scripts/setup.sh test

configure: setup
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(TEST_CONFIG) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# The three programs alone, with only what building and running them needs,
# configured for the prefix make install installs them under. PREFIX reaches
# the recipes whole, in the environment (make's functions would split a name
# with spaces), and must be absolute: it is refused before anything is built.
PREFIX ?= /usr/local
programs install: export PREFIX := $(PREFIX)
ifneq ($(filter programs run install,$(MAKECMDGOALS)),)
ifeq ($(filter /%,$(firstword $(PREFIX))),)
$(error PREFIX must be an absolute folder, not '$(PREFIX)')
endif
endif
programs:
	@scripts/setup.sh run
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX="$$PREFIX" \
		$(RUN_CONFIG) $(CMAKE_FLAGS) >/dev/null
	$(call build_programs,$(BUILD))

# Runs the demo in a window; on a machine without a display, renders a preview.
run: programs
	@scripts/run.sh $(BUILD)

# Installs the programs (the watcher among the helper programs), the manual
# pages, the desktop entry and the rest under PREFIX, below DESTDIR where
# given (as PREFIX, whole, in the environment). What it installed, and the
# folders it made, are added to MANIFEST, which make uninstall removes: the
# files, the folders left empty, then the list itself.
MANIFEST ?= $(BUILD)/installed-files.txt
install: export DESTDIR := $(DESTDIR)
install: programs
	@scripts/install.sh install "$(BUILD)" "$(MANIFEST)"

uninstall:
	@scripts/install.sh uninstall "$(MANIFEST)"

# The Debian package, dist/tarrow_VERSION_ARCH.deb: the install under /usr,
# built with Debian's hardening flags (those of the package's architecture)
# and dated by the last commit. ARCH is this machine's architecture, built in
# DEB_BUILD, or arm64 cross-built in DEB_BUILD-arm64 with Debian's cross
# compiler, against the arm64 libraries installed beside this machine's.
HOST_ARCH := $(shell dpkg --print-architecture 2>/dev/null)
ARCH ?= $(HOST_ARCH)
DEB_BUILD ?= build-deb
DEB_TOOLCHAIN_arm64 = linux-aarch64
ifeq ($(ARCH),$(HOST_ARCH))
deb_build = $(DEB_BUILD)
deb_setup = deb
else
deb_build = $(DEB_BUILD)-$(ARCH)
deb_setup = deb-$(ARCH)
deb_toolchain = -DCMAKE_TOOLCHAIN_FILE=$(abspath cmake/$(DEB_TOOLCHAIN_$(ARCH)).cmake)
ifneq ($(filter deb test-deb,$(MAKECMDGOALS)),)
ifeq ($(DEB_TOOLCHAIN_$(ARCH)),)
$(error ARCH must be $(HOST_ARCH) (this machine's) or arm64, not '$(ARCH)')
endif
endif
endif
deb:
	@scripts/setup.sh $(deb_setup)
	@export DEB_BUILD_MAINT_OPTIONS=hardening=+all DEB_HOST_ARCH=$(ARCH) && \
		SOURCE_DATE_EPOCH=$$(git log -1 --format=%ct 2>/dev/null || date +%s) \
		cmake -S . -B $(deb_build) $(deb_toolchain) -DCMAKE_BUILD_TYPE=None -DCMAKE_INSTALL_PREFIX=/usr \
		-DCMAKE_CXX_FLAGS="$$(dpkg-buildflags --get CXXFLAGS) $$(dpkg-buildflags --get CPPFLAGS)" \
		-DCMAKE_EXE_LINKER_FLAGS="$$(dpkg-buildflags --get LDFLAGS)" \
		$(RUN_CONFIG) $(CMAKE_FLAGS) >/dev/null
	$(call build_programs,$(deb_build))
	@scripts/pack.sh $(deb_build)

# This machine's package checked by lintian, its desktop entry and metadata
# validated, and installed with apt-get in a clean Debian 12 root, where the
# programs run. Another architecture's (which cannot run here but under
# qemu-user) checked by lintian and against this machine's package, built
# too: the same files, the programs built for its CPU, and the same scene.
test-deb: deb
ifeq ($(ARCH),$(HOST_ARCH))
	@tests/packaging/deb_test.sh $(deb_build)/*.deb
else
	@$(MAKE) deb ARCH=$(HOST_ARCH)
	@tests/packaging/deb_cross_test.sh $(deb_build)/*.deb $(DEB_BUILD)/*.deb
endif

# Linux only: the Windows build's tests (label windows) run under test-windows,
# the Wayland compositors' (label wayland) under test-wayland.
test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -LE 'windows|wayland'

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

# The demo for 32-bit and 64-bit Windows, cross-built with MinGW-w64 in a
# folder each (win32 with the i686 compilers, win64 with the x86_64 ones):
# build-windows/ARCH/bin/tarrow.exe, and dist/tarrow-VERSION-ARCH.zip with it
# stripped, a short text and the licence. The toolchain is named when a folder
# is first configured, when CMake reads it (later it would warn it unused).
WINDOWS_BUILD ?= build-windows
define build_windows
@cmake -S . -B $(WINDOWS_BUILD)/$(1) -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS) \
	$(if $(wildcard $(WINDOWS_BUILD)/$(1)/CMakeCache.txt),,-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-$(2).cmake) >/dev/null
@cmake --build $(WINDOWS_BUILD)/$(1) -j $(JOBS)
@scripts/pack.sh $(WINDOWS_BUILD)/$(1)
endef
windows:
	@scripts/setup.sh windows
	$(call build_windows,win32,i686)
	$(call build_windows,win64,x86_64)

# Both Windows builds run under Wine on real X servers, against the Linux build.
test-windows: windows
	@scripts/setup.sh test
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(TEST_CONFIG) \
		-DTARROW_WINDOWS_EXE_WIN32=$(abspath $(WINDOWS_BUILD))/win32/bin/tarrow.exe \
		-DTARROW_WINDOWS_EXE_WIN64=$(abspath $(WINDOWS_BUILD))/win64/bin/tarrow.exe \
		$(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -L windows

# The demo in a web browser, built with Emscripten: dist/web/ (index.html,
# tarrow.js, tarrow.wasm). Emscripten's system libraries are compiled into the
# build folder's cache the first time, which takes minutes: on a terminal,
# scripts/web-env.sh says a line a minute while they compile; elsewhere the
# build says where it starts and what it made, its log shown if it fails.
WEB_BUILD ?= build-web
WEB_ENV = scripts/web-env.sh $(WEB_BUILD)
WEB_LIBC = $(WEB_BUILD)/emscripten-cache/sysroot/lib/wasm32-emscripten/libc.a
web:
	@scripts/setup.sh web
	@if [ -e $(WEB_LIBC) ]; then echo "Building the page in $(WEB_BUILD)"; else \
		echo "Building the page in $(WEB_BUILD), Emscripten's system libraries first (once):" \
			"3 minutes on two idle cores, up to 25 on a busy machine"; fi
	@$(WEB_ENV) emcmake cmake -S . -B $(WEB_BUILD) -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS) >/dev/null
	@$(WEB_ENV) cmake --build $(WEB_BUILD) -j $(JOBS) --target tarrow-web
	@rm -rf dist/web && mkdir -p dist/web
	@cp $(WEB_BUILD)/page/index.html $(WEB_BUILD)/page/tarrow.js $(WEB_BUILD)/page/tarrow.wasm dist/web/
	@echo "Built dist/web/: index.html, tarrow.js, tarrow.wasm"

# Serves dist/web on 127.0.0.1:$(PORT) and prints its address.
PORT ?= 8080
serve-web: web
	@node scripts/serve-web.mjs dist/web $(PORT)

# The page in headless Chromium against tarrow-render on Mesa: state dumps,
# frames, keys, full screen and a hidden page (not part of make test), with
# WebGL on Mesa's llvmpipe where Chromium offers it, else on SwiftShader.
# TARROW_WEBGL=swiftshader runs it on SwiftShader (=llvmpipe: llvmpipe or fail).
test-web: web
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS) --target tarrow-render
	@$(WEB_ENV) cmake --build $(WEB_BUILD) -j $(JOBS) --target tarrow-web-planted
	@cd tests/web && npm ci --no-audit --no-fund --loglevel=error
	@TARROW_RENDER=$(abspath $(BUILD))/bin/tarrow-render TARROW_PAGE=$(abspath dist/web) \
		TARROW_PLANTED_PAGE=$(abspath $(WEB_BUILD))/page-planted \
		node --test --test-concurrency=1 tests/web/

# The page's frame time beside tarrow-render --bench's, at 640x400, taking
# turns RUNS times each, with their medians (a measurement, not a test).
RUNS ?= 3
bench-web: web
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS) --target tarrow-render
	@cd tests/web && npm ci --no-audit --no-fund --loglevel=error
	@TARROW_RENDER=$(abspath $(BUILD))/bin/tarrow-render TARROW_PAGE=$(abspath dist/web) \
		node scripts/bench-web.mjs $(RUNS)

# Frames of a run of the page as PNG, read back by the page (a screenshot of
# the page holds whatever its canvas shows as it is taken): STILLS/frame-N.png
# for each frame that the query's capture= names.
QUERY ?= ?seed=2013&frames=600&size=960x600&capture=600
STILLS ?= dist/stills
stills-web: web
	@cd tests/web && npm ci --no-audit --no-fund --loglevel=error
	@TARROW_PAGE=$(abspath dist/web) node scripts/stills-web.mjs '$(QUERY)' '$(STILLS)'

# The demo under today's Wayland compositors (mutter, the GNOME shell, KWin),
# started headless with XWayland; installs them first.
test-wayland:
	@scripts/setup.sh wayland
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(TEST_CONFIG) -DTARROW_WAYLAND_TESTS=ON \
		$(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS) --target wayland_tests
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -L wayland

# The scene's state built for other CPUs and systems (64-bit ARM and s390x
# under qemu-user, 32-bit x86 natively, 32- and 64-bit Windows under Wine)
# against this machine's, byte for byte, with a control that must differ;
# installs the cross compilers first.
CROSS_BUILD ?= build-cross
test-cross:
	@scripts/setup.sh cross
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(TEST_CONFIG) $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS) --target tarrow-state codec_check tarrow-render
	@JOBS=$(JOBS) scripts/test-cross.sh $(BUILD) $(CROSS_BUILD) $(CMAKE_FLAGS)

# A recording split across a Slurm job array (docs/farm/), on a one-machine
# cluster started for the test and stopped after it: one chunk killed and
# resubmitted, then joined into the very video of a single run; installs Slurm
# and MUNGE first. A build folder not configured yet is configured without
# the tests, which this needs none of.
test-farm:
	@scripts/setup.sh farm
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		$(if $(wildcard $(BUILD)/CMakeCache.txt),,$(RUN_CONFIG)) $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS) --target tarrow-render
	@tests/farm/farm_test.sh $(BUILD)

clean:
	@rm -rf $(BUILD) $(ASAN_BUILD) $(WINDOWS_BUILD) $(WEB_BUILD) $(DEB_BUILD) $(DEB_BUILD)-arm64 $(CROSS_BUILD) dist
