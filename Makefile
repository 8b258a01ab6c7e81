# VORN: the everyday commands.
#
#   make run     install what is missing, build, and run VORN
#   make test    install what is missing, build with sanitizers, run every test
#   make bench   build and time vorn-cli on large inputs
#
# Each build directory is configured once; later runs only rebuild what
# changed (Ninja reruns CMake itself when a CMakeLists.txt changes).

SHELL := /bin/bash
.DEFAULT_GOAL := build

RELEASE_DIR := build/release
ASAN_DIR    := build/asan
SOURCE_DIRS := src tests bench

.PHONY: deps build test run bench format clean

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

bench: deps
	@$(MAKE) --no-print-directory build
	bash bench/run.sh

format:
	find $(SOURCE_DIRS) -type f \( -name '*.h' -o -name '*.cpp' \) -print0 | xargs -0 -r clang-format -i

clean:
	rm -rf build
