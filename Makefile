# Set-up, build, test and benchmarks. `make test` and `make run` install what
# is missing from Debian's packages first, so a fresh machine needs nothing else.
BUILD   ?= build
# The tests once more with AddressSanitizer and UndefinedBehaviorSanitizer.
ASAN_BUILD ?= build-asan
# The tests that start threads once more with ThreadSanitizer.
TSAN_BUILD ?= build-tsan
# libFuzzer targets, built with clang.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 180
JOBS    ?= $(shell nproc)
SUDO    := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

# Debian packages the project builds, tests and runs with.
PKGS := cmake ninja-build g++ pkg-config clang-format ccache mold \
        qt6-base-dev qt6-base-dev-tools libgl-dev libxcb1-dev libturbojpeg0-dev libjpeg62-turbo-dev libgif-dev \
        libgtest-dev libgmock-dev libbenchmark-dev \
        libexiv2-dev libimage-exiftool-perl \
        fonts-liberation2 fonts-symbola xvfb xauth openbox xdotool x11-utils \
        qt6-translations-l10n desktop-file-utils appstream dpkg-dev man-db \
        parallel bash-completion

# Only `make fuzz` needs clang and its runtime (libFuzzer).
FUZZ_PKGS := clang-14 libclang-rt-14-dev

.PHONY: deps fuzz-deps configure build test test-plain test-asan test-tsan fuzz run bench package format format-check clean

# ccache may take objects built with precompiled headers
export CCACHE_SLOPPINESS := pch_defines,time_macros,include_file_mtime,include_file_ctime

deps fuzz-deps:
	@missing=""; for p in $(if $(filter fuzz-deps,$@),$(FUZZ_PKGS),$(PKGS)); do \
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

# Every test three times: the plain build, AddressSanitizer with
# UndefinedBehaviorSanitizer, and ThreadSanitizer for the tests that start threads.
test: deps format-check
	$(MAKE) test-plain
	$(MAKE) test-asan
	$(MAKE) test-tsan

# ctest runs one more test than there are cores: many tests wait on a child
# program or the disk.
CTEST_JOBS := $(shell echo $$(( $(JOBS) + 1 )))

test-plain: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(CTEST_JOBS) --timeout 600

# Sanitizer builds at -O1 with line tables only (-g1): fast enough to build and
# run every test, exact enough for the reports' stacks.
SANITIZER_FLAGS := -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" \
    -DSTAMPORA_BENCH=OFF
SANITIZE := -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all
# Any report ends the program with an error; Qt's and fontconfig's own leaks
# at exit are suppressed by name (tests/sanitizer/lsan.supp).
# exitcode=86 keeps a report in a child stampora-cli apart from its own exit codes.
SANITIZER_ENV := ASAN_OPTIONS=halt_on_error=1:exitcode=86:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1 \
    UBSAN_OPTIONS=halt_on_error=1:exitcode=86:print_stacktrace=1 \
    LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizer/lsan.supp:print_suppressions=0

$(ASAN_BUILD)/build.ninja: | deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja $(SANITIZER_FLAGS) \
	  -DCMAKE_CXX_FLAGS="$(SANITIZE)" -DCMAKE_EXE_LINKER_FLAGS="$(SANITIZE)"

# Run in the plain build only: the scale tests (label slow: many files, kills,
# reading past 4 GiB, the recipes), which test behaviour, not memory, and take
# minutes under the sanitizers; the install tree (label packaging), which checks
# files; and the window manager's test (label windowmanager), see tests/app.
PLAIN_ONLY := slow|packaging|windowmanager
test-asan: deps $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen $(SANITIZER_ENV) \
	  ctest --output-on-failure -j $(CTEST_JOBS) --timeout 900 -LE '$(PLAIN_ONLY)'

# ThreadSanitizer: the tests that start threads (the runs and their pool, the
# memory gate, the pipelined decoder, stop signals, the command line's jobs),
# with the command line itself built for it; a race fails the test
# (tests/sanitizer/tsan.supp names the libraries whose own locks it cannot see).
TSAN_TARGETS := core_base_test core_imaging_test core_stamping_test cli_test stampora-cli
TSAN_TESTS := ^(MemoryGate|LargeBlock|DirectJpegDecode|ComposeNotice|StampingRun|RunStamping|StampBatch|StampingWalk|TesterBitmapKeeper|RunLimits|StampFile|StampCommand|Signals/StoppedRun|DataSafety|BadInput|KeepQuality)\.
TSAN_ENV := TSAN_OPTIONS=halt_on_error=1:exitcode=86:second_deadlock_stack=1:suppressions=$(CURDIR)/tests/sanitizer/tsan.supp
$(TSAN_BUILD)/build.ninja: | deps
	cmake -S . -B $(TSAN_BUILD) -G Ninja $(SANITIZER_FLAGS) \
	  -DCMAKE_CXX_FLAGS="-fsanitize=thread" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread"

test-tsan: deps $(TSAN_BUILD)/build.ninja
	cmake --build $(TSAN_BUILD) -j $(JOBS) --target $(TSAN_TARGETS)
	cd $(TSAN_BUILD) && QT_QPA_PLATFORM=offscreen $(TSAN_ENV) \
	  ctest --output-on-failure -j $(CTEST_JOBS) --timeout 900 -LE '$(PLAIN_ONLY)' -R '$(TSAN_TESTS)'

$(FUZZ_BUILD)/build.ninja: | deps fuzz-deps
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" \
	  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer" \
	  -DSTAMPORA_FUZZ=ON -DSTAMPORA_TESTS=OFF -DSTAMPORA_BENCH=OFF

# Runs every fuzz target for FUZZ_SECONDS on a copy of its corpus; crashers
# land in tests/corpus/<target>/ as crash-* files, to be replayed by `make test`.
FUZZ_TARGETS := blockreader textfile picture
fuzz: $(FUZZ_BUILD)/build.ninja
	cmake --build $(FUZZ_BUILD) -j $(JOBS) $(foreach t,$(FUZZ_TARGETS),--target fuzz_$(t))
	@failed=""; for t in $(FUZZ_TARGETS); do \
	  work=$(FUZZ_BUILD)/corpus/$$t; mkdir -p $$work; \
	  dict=tests/fuzz/$$t.dict; [ -f $$dict ] && dict=-dict=$$dict || dict=; \
	  echo "== fuzz_$$t for $(FUZZ_SECONDS) s"; \
	  QT_QPA_PLATFORM=offscreen $(SANITIZER_ENV) ./$(FUZZ_BUILD)/tests/fuzz/fuzz_$$t $$dict \
	    -max_total_time=$(FUZZ_SECONDS) -timeout=20 -rss_limit_mb=4096 -print_final_stats=1 \
	    -artifact_prefix=tests/corpus/$$t/ $$work tests/corpus/$$t || failed="$$failed $$t"; \
	done; \
	if [ -n "$$failed" ]; then echo "Found faults in:$$failed (inputs in tests/corpus/)"; exit 1; fi

run: build
	./$(BUILD)/stampora

# Micro-benchmarks, then the comparison with the floor and the peers
# (bench/compare.sh; QUICK=1 for fewer rounds).
bench: deps configure
	cmake --build $(BUILD) -j $(JOBS) --target all stampora_benchmarks
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
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD) $(FUZZ_BUILD)
