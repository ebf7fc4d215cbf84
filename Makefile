# Quick start: `make run` and `make test` install what is missing, build, and
# run. Every target goes through CMake presets (CMakePresets.json).

PRESET ?= default
BUILD_DIR := build/$(PRESET)
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all setup configure build run test asan bench fuzz format clean screenshots app package portable

all: build

setup:
	@scripts/setup

configure: setup
	@cmake --preset $(PRESET) >/dev/null

build: configure
	@cmake --build --preset $(PRESET) -j $(JOBS)

# The morning report in the terminal: builds only the two programs it runs.
run: configure
	@cmake --build --preset $(PRESET) -j $(JOBS) --target snoozlet snoozlet-pmset
	@$(BUILD_DIR)/Snoozlet/snoozlet report

# The tray application against the simulated Mac (needs a desktop session).
app: configure
	@cmake --build --preset $(PRESET) -j $(JOBS) --target snoozlet snoozlet-app snoozlet-pmset
	@$(BUILD_DIR)/Snoozlet/snoozlet

# A Debian package of a release build, in build/release: the three programs and
# the privileged helper (with its polkit action),
# and the manual pages (made from their help texts) with the changelog.
# Warnings are not errors here even in CI: at -O3 GCC 12 reports -Wrestrict on
# ordinary string concatenation (a known false positive); the tested build
# keeps them errors.
package: setup
	@cmake --preset release -DSNOOZLET_WERROR=OFF >/dev/null
	@cmake --build --preset release -j $(JOBS) --target snoozlet snoozlet-app snoozlet-pmset snoozlet-helper snoozlet_package_docs
	@cd build/release && cpack -G DEB

test: build
	@ctest --preset $(PRESET) -j $(JOBS)

# The views rendered without a display into build/screenshots.
screenshots: configure
	@cmake --build --preset $(PRESET) -j $(JOBS) --target snoozlet-screenshots
	@$(BUILD_DIR)/tools/screenshots/snoozlet-screenshots build/screenshots

asan:
	@$(MAKE) test PRESET=asan

# clang with libc++ and without libsystemd and Qt: the core, the platform
# services, their tests and the terminal program (see "Building on macOS" in
# the README).
portable:
	@$(MAKE) test PRESET=portable

bench:
	@$(MAKE) build PRESET=release
	@build/release/bench/snoozlet_bench
	@build/release/bench/snoozlet_view_bench

fuzz: setup
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz -j $(JOBS)
	@fuzz/run-all $(or $(FUZZ_SECONDS),60)

format:
	@git ls-files '*.h' '*.cpp' | xargs clang-format -i

clean:
	@rm -rf build
