# Newcomer commands: `make demo` runs the export on the sample registry, `make test` runs the tests.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
CMAKE_FLAGS ?=

.PHONY: deps configure build test demo clean

deps:
	@./scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR)

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure

demo: build
	@echo "The audit export is not built yet: make demo arrives with it."

clean:
	rm -rf $(BUILD_DIR)
