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

# The demo registry and its audit file live in a folder of their own, where the export finds its
# auditexport.ini.
DEMO_DIR = $(abspath $(BUILD_DIR))/demo

demo: configure
	@cmake --build $(BUILD_DIR) --target auditexport make-sample-registry
	@mkdir -p $(DEMO_DIR)
	@cd $(DEMO_DIR) && { test -f sample-registry.db || $(abspath $(BUILD_DIR))/tools/sampleregistry/make-sample-registry; }
	@cd $(DEMO_DIR) && $(abspath $(BUILD_DIR))/apps/auditexport/auditexport /BATCH /STORE=001 /YEAR=2024

clean:
	rm -rf $(BUILD_DIR)
