# The two commands a newcomer needs:
#   make run    installs what is missing, builds, and starts the character on the desktop
#   make test   installs what is missing, builds, and runs every test (also under sanitizers,
#               and a short run of every fuzzer)
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)

#   make deb    builds the Debian package into dist/ (FREE_ONLY=1: from the openly licensed data)
FREE_ONLY  ?= 0

.PHONY: run test setup build build-asan console bench deb clean

setup:
	@bash tools/setup.sh

build: setup
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/vembrel

console: build
	$(BUILD)/bin/vembrel-console

build-asan: setup
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVEMBREL_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)

test: build build-asan
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS) -LE no-sanitizer
	bash tools/fuzz.sh 15

bench: build
	$(BUILD)/bench/scan_bench --benchmark_min_time=0.2
	python3 bench/run_targets.py $(BUILD)

deb: setup
	FREE_ONLY=$(FREE_ONLY) bash packaging/make_deb.sh build-deb dist

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) build-deb dist
