# The two commands of the quick start, and the development targets the README
# documents. Each does its own set-up: packages, configure, build.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all setup configure build run test bench clean

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

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# Google Benchmark suite of the scene's pieces (not part of make test).
bench: build
	@$(BUILD)/bin/tarrow-bench

clean:
	@rm -rf $(BUILD)
