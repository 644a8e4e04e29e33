# Every target installs what is missing first, so each works on a fresh Debian 12 machine.
JOBS ?= $(shell nproc)
RUN_ARGS ?= examples/sample.mirel

.PHONY: all deps build run test test-sanitize test-tsan bench fuzz fuzz-smoke format clean

all: build

deps:
	@scripts/install-deps

build/build.ninja:
	cmake --preset default

build: deps build/build.ninja
	cmake --build --preset default -j $(JOBS)

# The application when there is a display to show it on; otherwise the engine's output of the
# same document, so that `make run` shows something on a headless machine too.
run: build
	@if [ -z "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): printing the code that $(RUN_ARGS) generates instead." >&2; \
	  build/tools/telvar-gen/telvar-gen $(RUN_ARGS); \
	elif [ ! -x build/mirel/mirel ]; then \
	  echo "The application is not built (MIREL_APP is off): printing the code that $(RUN_ARGS) generates instead." >&2; \
	  build/tools/telvar-gen/telvar-gen $(RUN_ARGS); \
	else \
	  build/mirel/mirel $(RUN_ARGS); \
	fi

test: build
	ctest --preset default -j $(JOBS)

build-sanitize/build.ninja:
	cmake --preset sanitize

test-sanitize: deps build-sanitize/build.ninja
	cmake --build --preset sanitize -j $(JOBS)
	ctest --preset sanitize -j $(JOBS)

build-tsan/build.ninja:
	cmake --preset tsan

# The tests that read large arrays in pieces on worker threads, under ThreadSanitizer.
test-tsan: deps build-tsan/build.ninja
	cmake --build --preset tsan -j $(JOBS)
	ctest --preset tsan -j $(JOBS)

bench:
	@scripts/install-deps --bench
	cmake --preset release
	cmake --build --preset release -j $(JOBS)
	bench/run-all build-release

build-fuzz/build.ninja:
	cmake --preset fuzz

fuzz: deps build-fuzz/build.ninja
	cmake --build --preset fuzz -j $(JOBS)

# A short run of every fuzz target, for CI.
fuzz-smoke: fuzz
	fuzz/run-all build-fuzz 20

format:
	git ls-files '*.h' '*.cpp' | xargs clang-format -i

clean:
	rm -rf build build-sanitize build-tsan build-release build-fuzz
