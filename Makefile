# Two entry points: `make demo` and `make test`. Both install what the build
# needs (scripts/setup.sh) before configuring.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all setup configure build demo test bench fuzz library install package clean

all: build

setup:
	@./scripts/setup.sh

configure: setup
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) > /dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

demo: configure
	@cmake --build $(BUILD) -j $(JOBS) --target demo vexword
	@mkdir -p build/out
	@$(BUILD)/examples/demo build/out/demo.docx

test: build
	@mkdir -p build/out
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The plug-in and the runtime alone (and vexword where its packages are
# there), installed under PREFIX.
LIBRARY_BUILD ?= build-library
PREFIX ?= /usr/local
library:
	@./scripts/setup.sh library
	@cmake -S . -B $(LIBRARY_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEXWORD_TESTS=OFF -DVEXWORD_BENCH=OFF > /dev/null
	@cmake --build $(LIBRARY_BUILD) -j $(JOBS)

install: build
	@cmake --install $(BUILD) --prefix $(PREFIX)

# A .deb of the install (cpack -G DEB), in $(BUILD).
package: build
	@cd $(BUILD) && cpack -G DEB

bench: configure
	@cmake --build $(BUILD) -j $(JOBS) --target benchmarks
	@$(BUILD)/bench/benchmarks

# The package fuzz target, built with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) and run for FUZZ_TIME seconds from the blank
# package, a document made through the host and the documents the tests
# wrote under build/out. Inputs that fail land in $(FUZZ_BUILD)/findings/;
# run `$(FUZZ_BUILD)/fuzz/package_fuzzer FILE` to replay one.
FUZZ_BUILD ?= build-fuzz
FUZZ_TIME ?= 60

fuzz:
	@./scripts/setup.sh fuzz
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DVEXWORD_SANITIZE=ON -DVEXWORD_FUZZ=ON -DVEXWORD_BENCH=OFF > /dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target package_fuzzer package_fuzz_seeds
	@rm -rf $(FUZZ_BUILD)/seeds && mkdir -p $(FUZZ_BUILD)/seeds $(FUZZ_BUILD)/corpus $(FUZZ_BUILD)/findings
	@$(FUZZ_BUILD)/fuzz/package_fuzz_seeds $(FUZZ_BUILD)/seeds \
	  $$(find build/out -name '*.docx' -size -256k 2>/dev/null | sort | head -n 100)
	@$(FUZZ_BUILD)/fuzz/package_fuzzer -max_total_time=$(FUZZ_TIME) -timeout=30 \
	  -dict=fuzz/package.dict -artifact_prefix=$(FUZZ_BUILD)/findings/ \
	  $(FUZZ_BUILD)/corpus $(FUZZ_BUILD)/seeds

clean:
	rm -rf $(BUILD)
