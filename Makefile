# Entry points; everything else is CMake.
BUILD ?= build
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=Release
PREFIX ?= /usr/local

.PHONY: deps configure build run test bench install package screenshots clean

deps:
	@bash scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) > /dev/null

build: configure
	@cmake --build $(BUILD)

run: build
	$(BUILD)/app/skalora

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure

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

clean:
	rm -rf $(BUILD)
