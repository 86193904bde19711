# SPDX-License-Identifier: GPL-3.0-or-later
# The two commands of the README: `make run` and `make test` (plus `make test-all`, with the slow
# replays, `make asan-test`, `make libcxx-test` and `make package`).
PRESET ?= default
PACKAGES := cmake ninja-build g++ pkg-config libsdl2-dev libx11-dev libfreetype-dev \
            libfontconfig-dev fonts-dejavu-core libpng-dev libcairo2-dev libsamplerate0-dev \
            libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev clang-format xvfb xfonts-base x11-utils xdotool \
            libc++-14-dev libc++abi-14-dev googletest
# What making and checking the .deb adds.
DEB_PACKAGES := dpkg-dev file lintian desktop-file-utils appstream
# What the Windows build adds (MinGW-w64, its zlib, GoogleTest's sources), and what running its
# tests under wine adds.
WINDOWS_PACKAGES := g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 libz-mingw-w64-dev \
                    googletest
WINDOWS_TEST_PACKAGES := wine64 xvfb xdotool imagemagick sox
# What the browser's build adds (emscripten, node to run its programs), and what testing the page
# in headless Chromium adds (npm fetches playwright-core as tests/web/package-lock.json has it;
# npm is Debian's own package unless the installed node brings its own).
WEB_PACKAGES := emscripten nodejs
WEB_TEST_PACKAGES := chromium chromium-driver
JOBS ?= $(shell nproc)

.PHONY: run test test-all asan-test libcxx-test tsan-test package deps configure build format \
        format-check fuzz soak windows windows-test windows-test-sample web web-test

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  if [ "$$(id -u)" = 0 ]; then SUDO=""; else SUDO="sudo"; fi; \
	  $$SUDO apt-get update && DEBIAN_FRONTEND=noninteractive $$SUDO apt-get -o DPkg::Lock::Timeout=900 install -y --no-install-recommends $$missing; \
	fi

configure: deps
	cmake --preset $(PRESET)

build: configure
	cmake --build --preset $(PRESET) -j $(JOBS)

run: build
	cd build/$(PRESET)/data && ../vane

test: build
	ctest --preset $(PRESET) -j $(JOBS) -LE slow

test-all: build
	ctest --preset $(PRESET) -j $(JOBS)

asan-test:
	$(MAKE) test PRESET=asan

# The suite without the long replays, built by clang against LLVM's standard library (libc++)
# with GoogleTest built from its sources: what another compiler or standard library resolves,
# declares, orders or lacks differently fails here.
libcxx-test:
	$(MAKE) test PRESET=libcxx

# The sound device's frame thread and audio thread under ThreadSanitizer: the mixer stress test
# and the tests of the real and muted devices. Builds only the sound tests.
TSAN_TESTS := MixerStress.*:DiskDevice.*:MutedDevice.*:SoundFormats.*
tsan-test: deps
	cmake --preset tsan
	cmake --build --preset tsan -j $(JOBS) --target test_audio
	TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
	  build/tsan/tests/audio/test_audio --gtest_filter='$(TSAN_TESTS)'

# The .debs (vane, vane-data, vane-tools) in build/package/, built without the test libraries,
# then checked.
package:
	$(MAKE) build PRESET=package PACKAGES="$(PACKAGES) $(DEB_PACKAGES)"
	cd build/package && cpack
	packaging/check-deb.sh build/package

# build/windows/vane-<version>-windows-x64.zip: the game and tools for 64-bit Windows, built with
# MinGW-w64 after the native build, whose forge paints the data and the icon.
windows:
	$(MAKE) build PACKAGES="$(PACKAGES) $(WINDOWS_PACKAGES)"
	cmake --preset windows
	cmake --build --preset windows -j $(JOBS) --target vane_windows_zip

# The Windows build's whole suite under wine64 in a fresh prefix: the test programs that need no
# display, the golden runs against the native traces, the programs' DLLs, and a played window
# with its sound. windows-test-sample leaves out the long golden runs (as CI does).
windows-test:
	$(MAKE) windows PACKAGES="$(PACKAGES) $(WINDOWS_PACKAGES) $(WINDOWS_TEST_PACKAGES)"
	cmake --build --preset windows -j $(JOBS)
	tests/windows/run_suite.sh

windows-test-sample:
	$(MAKE) windows PACKAGES="$(PACKAGES) $(WINDOWS_PACKAGES) $(WINDOWS_TEST_PACKAGES)"
	cmake --build --preset windows -j $(JOBS)
	tests/windows/run_suite.sh -LE slow

# build/web/site/: the page, its program and data, servable by any static server from any path;
# and build/web/vane-sim.js (node --no-experimental-fetch build/web/vane-sim.js ARGS). Built with
# emscripten after the native build, whose forge paints the data and the icons.
web:
	$(MAKE) build PACKAGES="$(PACKAGES) $(WEB_PACKAGES)"
	cmake --preset web
	cmake --build --preset web -j $(JOBS)

# The browser build's checks: the test programs that need no display under node, the golden runs
# through vane-sim.js against the native traces (less the long ones), the banks the page composes
# against the forge's, the served size, and the page played in headless Chromium (playwright-core from npm, as tests/web/package-lock.json pins it).
web-test:
	$(MAKE) web PACKAGES="$(PACKAGES) $(WEB_PACKAGES) $(WEB_TEST_PACKAGES)"
	command -v npm >/dev/null || $(MAKE) deps PACKAGES=npm
	cd tests/web && npm ci --no-audit --no-fund
	ctest --preset web -LE slow

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

# Fails when a file is not formatted as `make format` would leave it.
format-check: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

# Each fuzz target in turn for SECONDS seconds (clang, libFuzzer, ASan + UBSan).
SECONDS ?= 60
fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	fuzz/run.sh build/fuzz $(SECONDS)

# FRAMES frames of bot and wandering scripts through vane-sim under ASan + UBSan + LSan (-O1),
# then again without sanitizers, checking that memory stays flat.
FRAMES ?= 1000000
soak: deps
	cmake --preset soak
	cmake --build --preset soak -j $(JOBS)
	tools/sim/soak.sh build/soak $(FRAMES)
	$(MAKE) build
	tools/sim/soak.sh build/$(PRESET) $(FRAMES) --memory
