# Entry points; everything else is CMake.
BUILD ?= build
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=Release
PREFIX ?= /usr/local
# The compiler cache keys on paths below this tree as relative ones, so another clone hits.
export CCACHE_BASEDIR := $(CURDIR)
# The compiler by its content, so a fresh install of the same compiler hits the same entries.
export CCACHE_COMPILERCHECK := content
# Debug builds (sanitizers, fuzzers) hit across clones too; their debug info may name another clone.
export CCACHE_NOHASHDIR := 1

.PHONY: deps configure build run test bench install package screenshots clean fuzz test-asan format format-check

deps:
	@bash scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) > /dev/null

build: configure
	@cmake --build $(BUILD)

run: build
	$(BUILD)/app/skalora

# The tests run side by side, one per core; `ctest -L core` (or exchange, support, ui, system)
# in $(BUILD) runs one group.
JOBS ?= $(shell nproc)
test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest -j$(JOBS) --output-on-failure

bench: build
	cmake --build $(BUILD) --target bench_all

# Program, menu entry, icon and file type under $(PREFIX) (through sudo when it isn't writable);
# DESTDIR=... stages the files instead.
install: build
	@set -e; su=""; [ -n "$(DESTDIR)" ] || [ -w "$(PREFIX)" ] || su=sudo; \
	$$su env DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix $(PREFIX); \
	if [ -z "$(DESTDIR)" ]; then \
	  ! command -v update-mime-database >/dev/null || $$su update-mime-database $(PREFIX)/share/mime; \
	  ! command -v update-desktop-database >/dev/null || $$su update-desktop-database -q $(PREFIX)/share/applications; \
	fi

# The Debian package skalora_<version>_amd64.deb in $(BUILD).
package: build
	@cd $(BUILD) && cpack > /dev/null && ls -1 "$$PWD"/skalora_*_amd64.deb

screenshots:
	@BUILD=$(BUILD) bash scripts/bildschirmfotos

# One layout for every C++ file (.clang-format); CI runs the check.
QUELLEN = git ls-files -z '*.cpp' '*.h'
format: deps
	@$(QUELLEN) | xargs -0 clang-format -i
format-check: deps
	@$(QUELLEN) | xargs -0 clang-format --dry-run -Werror && echo "format-check: every file as .clang-format lays it out"

# The whole test suite built with AddressSanitizer and UndefinedBehaviorSanitizer (g++, -O1),
# in its own folder; any finding stops the test that met it. Leaks are not reported: Qt's
# plugins and caches keep memory until the process ends. Left out: paket, which packs the
# build and runs no code of ours that the other tests don't.
ASAN_BUILD ?= build-asan
ASAN_SCHALTER := -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer
ASAN_OHNE ?= ^(paket)$$
test-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" -DCMAKE_CXX_FLAGS="$(ASAN_SCHALTER)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$(ASAN_SCHALTER)" > /dev/null
	@# The test programs and the program itself; the benchmarks are left out.
	@cmake --build $(ASAN_BUILD) --target skalora \
	  $$(cd $(ASAN_BUILD) && ctest -N | sed -n 's/^ *Test *#[0-9]*: \(tst_[A-Za-z0-9_]*\)$$/\1/p')
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:detect_stack_use_after_return=0 \
	  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	  ctest -j$(JOBS) --output-on-failure -E '$(ASAN_OHNE)'

# libFuzzer harnesses of tests/fuzz (listed once, in tests/fuzz/CMakeLists.txt), built with
# clang in their own folder, each run for FUZZ_SECONDS on its corpus (tests/fuzz/korpus/<name>,
# the inputs found so far in $(FUZZ_BUILD)/korpus/<name>, the kept findings in
# tests/fuzz/funde/<name>), two at a time. A crash leaves its input in $(FUZZ_BUILD)/funde/ and
# fails the target once every harness has run.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
fuzz: deps
	@cmake -S tests/fuzz -B $(FUZZ_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=clang++ > /dev/null
	@cmake --build $(FUZZ_BUILD)
	@bash scripts/fuzz $(FUZZ_BUILD) $(FUZZ_SECONDS) $(JOBS)

clean:
	rm -rf $(BUILD)
