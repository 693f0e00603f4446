# Two commands for a newcomer: `make run` and `make test`.
BUILD   ?= build
ASAN_BUILD ?= build-asan
JOBS    ?= $(shell nproc 2>/dev/null || echo 2)
SUDO    := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
# ccache, when it is installed, makes rebuilds of unchanged files free.
LAUNCHER := $(shell command -v ccache >/dev/null 2>&1 && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
CMAKE_FLAGS ?=

# Debian packages the build, the tests, the benchmarks and the fonts need,
# and the desktop's own tools the desktop files and the package are checked
# with (make test, make package, make check-install).
PACKAGES := g++ cmake make pkg-config qt6-base-dev qt6-base-dev-tools libqt6svg6-dev \
            libgtest-dev libgmock-dev libbenchmark-dev libicu-dev qt6-translations-l10n fonts-ipafont xvfb xauth libc-bin \
            binutils linkchecker tidy fp-utils libchm-bin chromium \
            desktop-file-utils appstream libxml2-utils shared-mime-info xdg-utils libfile-mimeinfo-perl \
            dpkg-dev lintian xdotool imagemagick

FUZZ_BUILD ?= build-fuzz
# Seconds each harness runs in make fuzz.
FUZZ_SECONDS ?= 60
FUZZERS := fuzz_native fuzz_csv fuzz_text fuzz_transfertext fuzz_inistore fuzz_win31j
# What the fuzzing build needs besides PACKAGES: clang and its libFuzzer runtime.
FUZZ_PACKAGES := clang libclang-rt-14-dev

.PHONY: deps build test test-asan run bench screens format clean check-render templates package check-install e2e fuzz fuzz-deps

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing: $$missing"; \
	  $(SUDO) apt-get update -qq && $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing >/dev/null; \
	fi

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(LAUNCHER) $(CMAKE_FLAGS)

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j$(JOBS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

# The whole suite once more under AddressSanitizer and UndefinedBehaviorSanitizer,
# in a build folder of its own.
$(ASAN_BUILD)/CMakeCache.txt:
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DQLT_SANITIZE=ON $(LAUNCHER) $(CMAKE_FLAGS)

test-asan: deps $(ASAN_BUILD)/CMakeCache.txt
	cmake --build $(ASAN_BUILD) -j$(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	  ctest --output-on-failure -j$(JOBS)

# The readers' libFuzzer harnesses, built with clang in a folder of their
# own, each run for FUZZ_SECONDS over a corpus seeded with the test fixtures
# (the corpus grows in $(FUZZ_BUILD)/corpus/NAME and is kept between runs).
fuzz-deps:
	@$(MAKE) --no-print-directory deps PACKAGES="$(FUZZ_PACKAGES)"

$(FUZZ_BUILD)/CMakeCache.txt:
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQLT_FUZZ=ON \
	  -DCMAKE_CXX_COMPILER=clang++ $(LAUNCHER)

fuzz: deps fuzz-deps $(FUZZ_BUILD)/CMakeCache.txt
	cmake --build $(FUZZ_BUILD) -j$(JOBS)
	@set -e; for f in $(FUZZERS); do \
	  corpus=$(FUZZ_BUILD)/corpus/$$f; mkdir -p $$corpus; \
	  echo "== $$f ($(FUZZ_SECONDS) s)"; \
	  $(FUZZ_BUILD)/bin/$$f -max_total_time=$(FUZZ_SECONDS) -max_len=65536 -timeout=10 -rss_limit_mb=4096 \
	    -artifact_prefix=$(FUZZ_BUILD)/$$f- -print_final_stats=1 $$corpus tests/data/cards tests/data/win31j; \
	done

run: build
	$(BUILD)/bin/QLTWIN "$(CURDIR)/$(BUILD)/bin/sample.qlw"

bench: build
	cmake --build $(BUILD) -j$(JOBS) --target benchmarks
	QT_QPA_PLATFORM=offscreen $(BUILD)/bin/run-benchmarks

# The main window drawn offscreen in every view and preview mode, to PNGs.
screens: build
	QT_QPA_PLATFORM=offscreen $(BUILD)/bin/qlt_screens "$(CURDIR)/$(BUILD)/screens" "$(CURDIR)/$(BUILD)/bin/sample.qlw"

# The delivered templates rendered by headless Chromium to PNGs; fails when
# a page lacks the cards' Japanese texts or holds U+FFFD. Then the HTML
# output wizard driven under Xvfb on the sample, its pages rendered the same way.
check-render: build
	sh tests/core/html/check-render.sh "$(CURDIR)/$(BUILD)/bin" "$(CURDIR)/$(BUILD)/render"
	sh tests/gui/html/wizard-e2e.sh "$(CURDIR)/$(BUILD)/bin" "$(CURDIR)/$(BUILD)/render/wizard" || [ $$? = 77 ]

# Rebuilds the delivered templates in data/ from their sources in data/templates.
templates: build
	cmake --build $(BUILD) --target templates

# The Debian package, build/qltwin_VERSION_ARCH.deb (CPack).
package: build
	cd $(BUILD) && cpack -G DEB

# The package checked as a user gets it: lintian, then unpacked into a
# throw-away root and its programs run from there with a fresh home (QLTWIN
# under Xvfb on the installed sample).
check-install: package
	sh packaging/check-install.sh $(BUILD)/qltwin_*.deb

# The first start of a version under Xvfb: welcome, the wizard, QLTWIN; then
# cards dragged between two QLTWIN windows and files dragged in from another
# program.
e2e: build
	sh tests/apps/qltreg/first-start-e2e.sh $(BUILD)/bin
	sh tests/gui/mainwindow/dragdrop-e2e.sh $(BUILD)/bin $(BUILD)/tests/qlt_dragsource

# Formats every C++ file with the project's .clang-format.
format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
