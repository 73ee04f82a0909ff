# Two commands: `make run` builds and starts the player from its portable folder,
# `make test` builds and runs every test. Both install missing Debian packages first.
# `make test SANITIZE=1` runs the suite under AddressSanitizer and UBSan.
# `make package` builds the Debian package build/sonolux_<version>_<arch>.deb.

BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

ifeq ($(SANITIZE),1)
BUILD ?= build-asan
SANITIZE_FLAG := -DSONOLUX_SANITIZE=ON
else
BUILD ?= build
SANITIZE_FLAG :=
endif

.PHONY: all deps configure build run test package clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(SANITIZE_FLAG) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	    echo "No display: start Sonolux from a desktop session (or under Xvfb with DISPLAY set)." >&2; exit 1; fi
	cd $(BUILD)/dist && ./sonolux

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

package: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf build build-asan
