# SPDX-License-Identifier: GPL-2.0-or-later
# SPDX-FileCopyrightText: 2026 Tarvola developers
# Tarvola: every target does its own set-up first (missing Debian packages, configure).
BUILD      ?= build
JOBS       ?= $(shell nproc)
FUZZ_SECONDS ?= 60
PREFIX     ?= $(HOME)/.local
SOAK_SECONDS ?= 120

.PHONY: all build run test fuzz bench assets clean deps-build deps-test installed install uninstall soak package

all: build

deps-build:
	@scripts/setup.sh build

deps-test:
	@scripts/setup.sh test

# Built with Debian's hardening flags (fortify, stack protector, relro, bind now), as a Debian
# package build sets them: `make package` packs this build. The source folder's path is mapped to
# "." in the debug data and __FILE__ (reproducible=+fixfilepath), so that the same commit gives
# the same binaries wherever it is built.
# The flags are given as the cache's own values, and a build folder made by an older Makefile is
# configured again, so that a change of flags reaches a build folder that already exists.
# A warning fails the build: the code is kept free of them, and one is often a fault.
buildflags = DEB_BUILD_MAINT_OPTIONS="hardening=+all reproducible=+fixfilepath" dpkg-buildflags --get
$(BUILD)/build.ninja: Makefile
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_COMPILE_WARNING_AS_ERROR=ON \
	  -DCMAKE_C_FLAGS="$$($(buildflags) CFLAGS) $$($(buildflags) CPPFLAGS)" \
	  -DCMAKE_CXX_FLAGS="$$($(buildflags) CXXFLAGS) $$($(buildflags) CPPFLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$$($(buildflags) LDFLAGS)" \
	  -DCMAKE_SHARED_LINKER_FLAGS="$$($(buildflags) LDFLAGS)" \
	  -DCMAKE_MODULE_LINKER_FLAGS="$$($(buildflags) LDFLAGS)"
	@touch $@

build: deps-build $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

# Only the program and what it loads (renderer, sound module, maker's library), not the tests.
run: deps-build $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target tarvola
	@scripts/run.sh $(BUILD)/bin/tarvola

test: deps-test build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

fuzz:
	@scripts/setup.sh fuzz
	@scripts/fuzz.sh $(FUZZ_SECONDS)

bench:
	@scripts/setup.sh bench
	@$(MAKE) --no-print-directory build
	@scripts/bench.sh $(BUILD)

assets: deps-build $(BUILD)/build.ninja
	cmake --build $(BUILD) --target assets

# What the install rules install (the program, what it loads, the icon and the documents), not
# the tests: `make install` and `make package` build only that.
installed: deps-build $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target installed

install: installed
	@PREFIX="$(PREFIX)" scripts/install.sh install $(BUILD)

# The same commit gives the same bytes wherever it is built (see the package's finishing script).
package: installed
	@scripts/setup.sh package
	cd $(BUILD) && cpack

uninstall:
	@PREFIX="$(PREFIX)" scripts/install.sh uninstall

soak: deps-test build
	@SOAK_SECONDS=$(SOAK_SECONDS) scripts/soak.sh $(BUILD)

clean:
	rm -rf $(BUILD) build-fuzz
