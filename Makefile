# The commands of the README. Each installs what is missing first.
#   make install [PREFIX=/usr/local] [DESTDIR=...]   build and install the program
#   make deb                                         build the Debian package in BUILD_DIR
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
PACKAGES = build-essential cmake pkg-config ccache qt6-base-dev qt6-svg-dev libqt6svg6 qt6-charts-dev \
           libsqlite3-dev libicu-dev libgsf-1-dev libbenchmark-dev libgl-dev zlib1g-dev \
           libopus-dev qt6-multimedia-dev postgresql libpq-dev libxss-dev \
           python3 python3-olefile libxml2-utils poppler-utils xvfb xauth fonts-dejavu-core \
           desktop-file-utils appstream dpkg-dev file man-db
# Only `make fuzz` needs clang; the program and its tests build with g++.
FUZZ_PACKAGES = clang-14 libclang-rt-14-dev
SUDO = $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: run test deps build configure test-sanitize fuzz install deb

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

PREFIX ?= /usr/local
# sudo only when the prefix cannot be written as we are.
INSTALL_SUDO = $(shell d="$(DESTDIR)$(PREFIX)"; while [ ! -e "$$d" ]; do d=$$(dirname "$$d"); done; \
                 [ -w "$$d" ] || echo $(SUDO))

install: build
	$(INSTALL_SUDO) env DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix $(PREFIX)

deb: build
	cd $(BUILD_DIR) && cpack -G DEB
	@ls $(BUILD_DIR)/tempolatch_*.deb

# The tests start a private PostgreSQL server of their own (tests/server) and
# stop it at the end, passed or failed; none is assumed to be running.
test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Every test again, built with AddressSanitizer and UndefinedBehaviorSanitizer
# in a build folder of its own; the first finding stops the test, which fails.
# Leaks count as findings too: the libraries the tests load (Qt among them)
# leave none that LeakSanitizer reports, so nothing is suppressed.
SANITIZE_DIR ?= build-asan
ASAN_OPTIONS_TEST = halt_on_error=1:detect_leaks=1
UBSAN_OPTIONS_TEST = halt_on_error=1:print_stacktrace=1

test-sanitize: deps
	@[ -f $(SANITIZE_DIR)/CMakeCache.txt ] || cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DTEMPOLATCH_SANITIZE=ON -DTEMPOLATCH_BENCH=OFF
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	cd $(SANITIZE_DIR) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=$(ASAN_OPTIONS_TEST) \
	  UBSAN_OPTIONS=$(UBSAN_OPTIONS_TEST) ctest --output-on-failure -j $(JOBS)

# The libFuzzer harnesses of tests/fuzz, built with clang in a folder of
# their own, each run FUZZ_SECONDS seconds on its corpus (tests/fuzz/run).
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 30

fuzz:
	@$(MAKE) --no-print-directory deps PACKAGES="$(PACKAGES) $(FUZZ_PACKAGES)"
	@[ -f $(FUZZ_DIR)/CMakeCache.txt ] || cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=clang++-14 -DTEMPOLATCH_FUZZ=ON -DTEMPOLATCH_BENCH=OFF
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzzers
	tests/fuzz/run $(FUZZ_DIR) $(FUZZ_SECONDS)
