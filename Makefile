# The two commands of the README:
#   make run    set up this machine (Debian 12), build, start the bench
#   make test   set up, build, run every test
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
PACKAGES := build-essential cmake g++ qt6-base-dev qt6-translations-l10n libjpeg-dev \
            libgtest-dev libgmock-dev libbenchmark-dev libfftw3-dev fonts-liberation \
            fonts-dejavu-core xvfb xauth xdotool imagemagick ccache clang-format \
            pkg-config jwm x11-utils libxcb1-dev dpkg-dev file desktop-file-utils \
            lintian poppler-utils
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
CMAKE_FLAGS ?=

.PHONY: run test sanitize soak setup configure build bench package clean format check-format

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "Нет графического дисплея: лабораторная установка запускается в окне."; \
	  echo "No display here. Start the bench under a virtual display:"; \
	  echo "  xvfb-run -s \"-screen 0 1280x800x24\" $(BUILD)/labbench"; \
	  exit 1; \
	fi
	$(BUILD)/labbench

# Window tests run offscreen; the X-server tests (x11/...) start an Xvfb of their own through
# tests/x11/xsession.sh and put Qt on the xcb platform there.
test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300 -j$(JOBS)

# Every test again, built with AddressSanitizer and UndefinedBehaviorSanitizer in $(ASAN_BUILD)
# (Debug), run as make test runs them (CI does; it takes several times as long as make test).
# Qt and the system libraries are not instrumented: allocator_may_return_null lets an
# allocation too large for any machine fail as it does without the sanitizer (the program
# handles that), and .ci/lsan.supp names the system libraries' own leaks. For full stacks of
# a leak inside Qt add fast_unwind_on_malloc=0 to ASAN_OPTIONS (twice as slow).
ASAN_BUILD ?= build-asan
SANITIZE_ENV := ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1:check_initialization_order=1 \
                LSAN_OPTIONS=suppressions=$(CURDIR)/.ci/lsan.supp \
                UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
sanitize: setup
	cmake -S . -B $(ASAN_BUILD) -DLAB_SANITIZE=ON -DLAB_CORE_ONLY=OFF -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(ASAN_BUILD) -j$(JOBS) --target core_tests ui_tests x11_tests labbench
	cd $(ASAN_BUILD) && $(SANITIZE_ENV) QT_QPA_PLATFORM=offscreen \
	  ctest --output-on-failure --timeout 600 -j$(JOBS)

# The random-action soak test at length (make test runs it shorter). A new seed each time,
# printed first; LAB_SOAK_SEED=<seed> repeats one.
SOAK_ACTIONS ?= 100000
soak: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen LAB_SOAK_ACTIONS=$(SOAK_ACTIONS) \
	  LAB_SOAK_SEED=$${LAB_SOAK_SEED:-$$(date +%s)} ./ui_tests --gtest_filter=Soak.RandomActions

setup:
	@missing=$$(for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; \
	done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing: $$missing"; \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get update -qq && \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $$missing; \
	fi

configure: setup
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j$(JOBS)

bench: build
	$(BUILD)/labbench_bench

# The Debian package build/labbench_<version>-<release>_<arch>.deb (CPack; the run-time
# dependencies come from dpkg-shlibdeps, hence dpkg-dev and file among the PACKAGES).
package: build
	cd $(BUILD) && cpack -G DEB

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

check-format:
	@bad=$$(git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run 2>&1 | grep -c warning || true); \
	if [ "$$bad" != 0 ]; then git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run; exit 1; fi

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
