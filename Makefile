# Thin driver over CMake. `make test` and `make run` set up a new machine first.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
CMAKE_FLAGS ?=

.PHONY: all deps configure build test run bench package format clean

all: build

deps:
	bash scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD_DIR)

# One test per core: the sweeps, the sanitized run and Wine keep each other company.
test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure --timeout 600 --parallel $(shell nproc)

# The Linux program; the Windows one is build/win64/tesserak.exe (see README).
run: build
	$(BUILD_DIR)/app/tesserak

# Options for the benchmark, e.g. make bench BENCH_ARGS="--size 512M --rounds 5".
bench: build
	$(BUILD_DIR)/bench/tesserak_bench $(BENCH_ARGS)

# The Debian package, $(BUILD_DIR)/tesserak_<version>_<arch>.deb.
package: build
	cmake --build $(BUILD_DIR) --target package

format:
	find platform framework engine ui app resources data tests bench \
		\( -name '*.h' -o -name '*.cpp' \) -print0 | xargs -0 -r clang-format -i

clean:
	rm -rf $(BUILD_DIR)
