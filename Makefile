# Thin driver over CMake. `make run` and `make test` set up a new machine first:
# `make run` only what the Linux program needs, `make test` everything.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
CMAKE_FLAGS ?=

CONFIGURE = cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)
# The tests and both extra trees, the Windows one and the sanitized one.
EVERYTHING = -DBUILD_TESTING=ON -DTESSERAK_WINDOWS_BUILD=ON -DTESSERAK_SANITIZED_TESTS=ON
PROGRAM_ONLY = -DBUILD_TESTING=OFF -DTESSERAK_WINDOWS_BUILD=OFF -DTESSERAK_SANITIZED_TESTS=OFF

.PHONY: all deps configure build test run bench package format clean

all: build

deps:
	bash scripts/install-deps

configure: deps
	$(CONFIGURE) $(EVERYTHING) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD_DIR)

# One test per core: the sweeps, the sanitized run and Wine keep each other company.
test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure --timeout 600 --parallel $(shell nproc)

# The Linux program alone; the Windows one is build/win64/tesserak.exe (see README).
# A new build folder is configured without the tests and the two extra trees;
# one configured before keeps its options, and only the program is built.
run:
	bash scripts/install-deps --program
	test -f $(BUILD_DIR)/CMakeCache.txt || $(CONFIGURE) $(PROGRAM_ONLY) $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR) --target tesserak
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
