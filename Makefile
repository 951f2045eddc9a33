# Lumivex: `make run` builds and starts the program under Wine; `make test` builds and runs every test.
# Both install what they need first (scripts/bootstrap).
SHELL := /bin/bash
JOBS ?= $(shell nproc)
CACHE ?= $(or $(LUMIVEX_CACHE),$(or $(XDG_CACHE_HOME),$(HOME)/.cache)/lumivex)
JPEG_PREFIX := $(CACHE)/libjpeg-turbo-mingw64
PNG_PREFIX := $(CACHE)/libspng-mingw64
NATIVE := build/native
WIN := build/win
FUZZ_SECONDS ?= 60
FIRST_RUN ?= 0

.PHONY: all bootstrap native win test run fuzz bench dist screenshots clean

all: native win

bootstrap:
	@scripts/bootstrap

native: bootstrap
	@cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@scripts/quiet-build $(NATIVE) -j$(JOBS)

win: bootstrap
	@cmake -S . -B $(WIN) -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-x86_64.cmake \
	  -DLUMIVEX_JPEG_PREFIX=$(JPEG_PREFIX) -DLUMIVEX_PNG_PREFIX=$(PNG_PREFIX) >/dev/null
	@scripts/quiet-build $(WIN) -j$(JOBS)

test: native win
	@TEST_JOBS=$${TEST_JOBS:-$(JOBS)} scripts/test-all

run: win
	@scripts/run-demo $(if $(filter 1,$(FIRST_RUN)),--first-run)

fuzz: bootstrap
	@scripts/fuzz run $(FUZZ_SECONDS)

dist: win
	@scripts/make-dist

screenshots: win
	@python3 scripts/screenshots.py

bench: win
	@python3 bench/run_bench.py

clean:
	rm -rf build
