# Set-up, build and test on a fresh Debian machine.
BUILD ?= build
JOBS ?= $(shell nproc)
PACKAGES = cmake ninja-build g++ qt6-base-dev libgl-dev libgtest-dev libgmock-dev \
           libbenchmark-dev fonts-noto-cjk xdg-utils
SUDO = $(shell [ "$$(id -u)" = 0 ] || echo sudo)
EXAMPLE = examples/Tessary.vbg

.PHONY: run test build deps bench clean

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing: $$missing"; \
	  $(SUDO) apt-get update -qq && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ] && [ -x $(BUILD)/src/gui/tessary-ide ]; then \
	  $(BUILD)/src/gui/tessary-ide $(EXAMPLE); \
	else \
	  $(BUILD)/src/cli/tessary inspect $(EXAMPLE); \
	fi

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESSARY_TESTS=OFF
	cmake --build build-release -j $(JOBS)
	for b in build-release/bench/*_bench; do $$b; done

clean:
	rm -rf $(BUILD) build-release
