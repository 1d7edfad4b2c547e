# Lockwell: the whole set-up is `make run` and `make test`.
BUILD_RELEASE := build/release
BUILD_TEST    := build/test
BUILD_BENCH   := build/bench
CMAKE_GEN     := -G Ninja
JOBS          ?= $(shell nproc)

.PHONY: all deps build run test bench format install clean

all: build

deps:
	@scripts/install-deps

build: deps
	cmake -S . -B $(BUILD_RELEASE) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DLW_BUILD_TESTS=OFF
	cmake --build $(BUILD_RELEASE) -j $(JOBS)

run: build
	$(BUILD_RELEASE)/src/lockwell $(ARGS)

test: deps
	cmake -S . -B $(BUILD_TEST) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DLW_SANITIZE=ON -DLW_BUILD_TESTS=ON
	cmake --build $(BUILD_TEST) -j $(JOBS)
	scripts/run-tests $(BUILD_TEST)

bench: deps
	cmake -S . -B $(BUILD_BENCH) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DLW_BUILD_TESTS=OFF -DLW_BUILD_BENCH=ON
	cmake --build $(BUILD_BENCH) -j $(JOBS)
	scripts/run-bench $(BUILD_BENCH)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

install: build
	cmake --install $(BUILD_RELEASE) $(if $(PREFIX),--prefix $(PREFIX))

clean:
	rm -rf build
