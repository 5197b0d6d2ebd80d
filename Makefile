# Set-up, build, run and test on Debian 12. Every target installs what is missing first.
BUILD   ?= build
JOBS    ?= 2
APT_PACKAGES := cmake make g++ qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-svg-dev \
                qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools libgl-dev fonts-wine xvfb xauth
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
TOOL := $(BUILD)/app/electronic-fuse
SIM  := $(BUILD)/tools/fuse-simulator

.PHONY: all deps build run demo test clean

all: build

deps:
	@missing=$$(for p in $(APT_PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get update -qq && \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; \
	fi

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j$(JOBS)

# The tool alone, on whatever port the user picks.
run: build
	$(TOOL)

# The tool against the built-in module simulator on COM1: a four-channel module whose values move.
demo: build
	@$(SIM) --port COM1 --variant 17 --moving & sim=$$!; \
	trap "kill $$sim 2>/dev/null" EXIT INT TERM; \
	sleep 1; $(TOOL); kill $$sim 2>/dev/null; true

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

clean:
	rm -rf $(BUILD)
