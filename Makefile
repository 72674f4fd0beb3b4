# Set-up, build, test and benchmarks. `make test` and `make run` install what
# is missing from Debian's packages first, so a fresh machine needs nothing else.
BUILD   ?= build
JOBS    ?= $(shell nproc)
SUDO    := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

# Debian packages the project builds, tests and runs with.
PKGS := cmake ninja-build g++ pkg-config clang-format \
        qt6-base-dev qt6-base-dev-tools libgl-dev libturbojpeg0-dev libjpeg62-turbo-dev \
        libgtest-dev libgmock-dev libbenchmark-dev \
        fonts-liberation2 fonts-symbola xvfb xauth \
        qt6-translations-l10n desktop-file-utils appstream dpkg-dev man-db

.PHONY: deps configure build test run bench package format format-check clean

deps:
	@missing=""; for p in $(PKGS); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: $(BUILD)/build.ninja

build: deps configure
	cmake --build $(BUILD) -j $(JOBS)

test: deps format-check build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) --timeout 600

run: build
	./$(BUILD)/stampora

# Micro-benchmarks, then the comparison with the floor and the peers
# (bench/compare.sh; QUICK=1 for fewer rounds).
bench: build
	QT_QPA_PLATFORM=offscreen ./$(BUILD)/bench/stampora_bench
	BUILD=$(BUILD) QUICK=$(QUICK) bench/compare.sh

# A Debian package under build/package/.
package: build
	cd $(BUILD) && cpack -G DEB

SOURCES = $(shell git ls-files '*.cpp' '*.h')

format:
	clang-format -i $(SOURCES)

format-check: | deps
	@clang-format --dry-run --Werror $(SOURCES) || { echo "Formatting differs: run 'make format'"; exit 1; }

clean:
	rm -rf $(BUILD)
