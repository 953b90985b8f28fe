# Two entry points: `make demo` and `make test`. Both install what the build
# needs (scripts/setup.sh) before configuring.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all setup configure build demo test bench clean

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

bench: configure
	@cmake --build $(BUILD) -j $(JOBS) --target benchmarks
	@$(BUILD)/bench/benchmarks

clean:
	rm -rf $(BUILD)
