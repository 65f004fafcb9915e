# The two commands of the README. Both install what is missing first.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
PACKAGES = build-essential cmake pkg-config ccache qt6-base-dev qt6-svg-dev libqt6svg6 \
           libsqlite3-dev libicu-dev libgsf-1-dev libbenchmark-dev libgl-dev zlib1g-dev \
           python3 python3-olefile libxml2-utils xvfb xauth fonts-dejavu-core
SUDO = $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: run test deps build configure

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing: $$missing"; \
	  $(SUDO) apt-get update -qq && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi

configure: deps
	@[ -f $(BUILD_DIR)/CMakeCache.txt ] || cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	./$(BUILD_DIR)/src/tempolatch

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
