# VORN: the everyday commands.
#
#   make run     install what is missing, build, and run VORN
#   make test    install what is missing, build with sanitizers, run every test
#   make bench   build and time vorn-cli on large inputs
#   make install build and install VORN under PREFIX (default /usr/local)
#   make screenshots  photograph the windows into docs/screenshots/ (Xvfb)
#   make fuzz    install clang, build the libFuzzer targets and run each one
#                for FUZZ_RUNS inputs (see fuzz/README.md)
#
# Each build directory is configured once; later runs only rebuild what
# changed (Ninja reruns CMake itself when a CMakeLists.txt changes).

SHELL := /bin/bash
.DEFAULT_GOAL := build

RELEASE_DIR := build/release
ASAN_DIR    := build/asan
FUZZ_DIR    := build/fuzz
SOURCE_DIRS := src tests bench fuzz

# make fuzz: how many inputs each target runs, which targets, and further
# libFuzzer flags (e.g. FUZZ_ARGS=-max_total_time=600). make -j2 fuzz runs
# the targets side by side.
FUZZ_RUNS    ?= 1000000
FUZZ_TARGETS ?= fuzz_file_reading fuzz_scanner
FUZZ_ARGS    ?=

.PHONY: deps build test run bench install screenshots fuzz fuzz-build format clean

PREFIX ?= /usr/local

deps:
	@bash scripts/install-deps.sh

$(RELEASE_DIR)/build.ninja:
	cmake -S . -B $(RELEASE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORN_BUILD_BENCH=ON -DVORN_BUILD_TESTS=OFF

$(ASAN_DIR)/build.ninja:
	cmake -S . -B $(ASAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVORN_SANITIZE=ON

build: $(RELEASE_DIR)/build.ninja
	cmake --build $(RELEASE_DIR)

test: deps
	@$(MAKE) --no-print-directory $(ASAN_DIR)/build.ninja
	cmake --build $(ASAN_DIR)
	QT_QPA_PLATFORM=offscreen ctest --test-dir $(ASAN_DIR) --output-on-failure -j2

run: deps
	@$(MAKE) --no-print-directory build
	@if { [ -n "$$DISPLAY" ] || [ -n "$$WAYLAND_DISPLAY" ]; } && [ -x $(RELEASE_DIR)/src/app/vorn ]; then \
	  $(RELEASE_DIR)/src/app/vorn; \
	else \
	  $(RELEASE_DIR)/src/cli/vorn-cli data/sample.txt; \
	fi

install: deps
	@$(MAKE) --no-print-directory build
	cmake --install $(RELEASE_DIR) --prefix $(PREFIX)

# The windows photographed at 1280x800 on a virtual display, by the window
# code of the test build (tests/gui/take_screenshots.cpp).
screenshots: deps
	@$(MAKE) --no-print-directory $(ASAN_DIR)/build.ninja
	cmake --build $(ASAN_DIR) --target vorn-screenshots
	ASAN_OPTIONS=detect_leaks=0 xvfb-run -a -s "-screen 0 1280x800x24" \
	  $(ASAN_DIR)/tests/gui/vorn-screenshots docs/screenshots data/sample.txt

bench: deps
	@$(MAKE) --no-print-directory build
	bash bench/run.sh

$(FUZZ_DIR)/build.ninja:
	cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=clang++ -DVORN_BUILD_FUZZ=ON -DVORN_BUILD_TESTS=OFF

fuzz-build:
	@bash scripts/install-deps.sh --fuzz
	@$(MAKE) --no-print-directory $(FUZZ_DIR)/build.ninja
	cmake --build $(FUZZ_DIR) --target $(FUZZ_TARGETS)

# Each target starts from its seeds in fuzz/corpus/<target>/ (only read) and
# writes the new inputs it finds to build/fuzz/found/<target>/; a crashing
# input is saved in build/fuzz/crashes/<target>/.
fuzz: $(addprefix fuzz-run-,$(FUZZ_TARGETS))

fuzz-run-%: fuzz-build
	@mkdir -p $(FUZZ_DIR)/found/$* $(FUZZ_DIR)/crashes/$*
	UBSAN_OPTIONS=print_stacktrace=1 $(FUZZ_DIR)/fuzz/$* -runs=$(FUZZ_RUNS) \
	  -artifact_prefix=$(FUZZ_DIR)/crashes/$*/ -print_final_stats=1 $(FUZZ_ARGS) \
	  $(FUZZ_DIR)/found/$* fuzz/corpus/$*

format:
	find $(SOURCE_DIRS) -type f \( -name '*.h' -o -name '*.cpp' \) -print0 | xargs -0 -r clang-format -i

clean:
	rm -rf build
