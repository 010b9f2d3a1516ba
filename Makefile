# Set-up in one command: installs what is missing, builds, makes the data.
#   make run   - then starts the game (under Xvfb when there is no display)
#   make test  - then runs the whole test suite headless
#   make bench - the benchmarks; make fuzz - the fuzz targets (clang)
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

FUZZ_SECONDS ?= 60

.PHONY: all deps build run test bench fuzz clean

all: build

deps:
	@bash scripts/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo > $(BUILD).configure.log 2>&1 \
		|| (cat $(BUILD).configure.log; exit 1)
	@cmake --build $(BUILD) -j$(JOBS)

run: build
	@bash scripts/run-game.sh $(BUILD)/sheepfall

test: build
	@cd $(BUILD) && SDL_AUDIODRIVER=dummy xvfb-run -a -s "-screen 0 1280x1024x24" \
		ctest --output-on-failure -j$(JOBS)

bench: build
	@$(BUILD)/bench/sheepfall_bench

# Builds the fuzz targets with clang and its sanitizers in build-fuzz/ and
# runs each for FUZZ_SECONDS; corpora are kept in build-fuzz/corpus/.
fuzz: deps
	@command -v clang++ > /dev/null || (echo "make fuzz needs clang (apt-get install clang)"; exit 1)
	@cmake -S . -B build-fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
		-DSHEEPFALL_FUZZ=ON -DSHEEPFALL_TESTS=OFF -DSHEEPFALL_BENCH=OFF > build-fuzz.configure.log 2>&1 \
		|| (cat build-fuzz.configure.log; exit 1)
	@cmake --build build-fuzz -j$(JOBS) --target fuzz_png fuzz_png_seeds fuzz_console
	@mkdir -p build-fuzz/corpus/png build-fuzz/corpus/console
	@build-fuzz/fuzz/fuzz_png_seeds build-fuzz/corpus/png
	build-fuzz/fuzz/fuzz_png -dict=fuzz/png.dict -max_total_time=$(FUZZ_SECONDS) -close_fd_mask=2 build-fuzz/corpus/png
	build-fuzz/fuzz/fuzz_console -dict=fuzz/console.dict -max_total_time=$(FUZZ_SECONDS) $(CURDIR)/build-fuzz/corpus/console

clean:
	rm -rf $(BUILD) $(BUILD).configure.log build-fuzz build-fuzz.configure.log
