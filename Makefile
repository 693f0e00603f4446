# Two commands for a newcomer: `make run` and `make test`.
BUILD   ?= build
JOBS    ?= $(shell nproc 2>/dev/null || echo 2)
SUDO    := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

# Debian packages the build, the tests, the benchmarks and the fonts need.
PACKAGES := g++ cmake make pkg-config qt6-base-dev qt6-base-dev-tools libqt6svg6-dev \
            libgtest-dev libgmock-dev libbenchmark-dev qt6-translations-l10n fonts-ipafont xvfb xauth libc-bin

.PHONY: deps build test run bench screens clean

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing: $$missing"; \
	  $(SUDO) apt-get update -qq && $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing >/dev/null; \
	fi

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j$(JOBS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

run: build
	$(BUILD)/bin/QLTWIN "$(CURDIR)/$(BUILD)/bin/sample.qlw"

bench: build
	cmake --build $(BUILD) -j$(JOBS) --target benchmarks
	QT_QPA_PLATFORM=offscreen $(BUILD)/bin/run-benchmarks

# The main window drawn offscreen in every view and preview mode, to PNGs.
screens: build
	QT_QPA_PLATFORM=offscreen $(BUILD)/bin/qlt_screens "$(CURDIR)/$(BUILD)/screens" "$(CURDIR)/$(BUILD)/bin/sample.qlw"

clean:
	rm -rf $(BUILD)
