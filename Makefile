# Set-up in one command: installs what is missing, builds, makes the data.
#   make run   - then starts the game (under Xvfb when there is no display)
#   make test  - then runs the whole test suite headless: the Linux half
#                (make test-linux), then the Windows one (make test-windows)
#   make bench - the benchmarks; make fuzz - the fuzz targets (clang)
#   make memory - the game's own memory and start-up beside a bare window
#   make timedemo - times the recorded level-3 game at 1024x768, 640x480, 1920x1080
#   make sanitize - the whole suite under ASan/UBSan with leak checks
#   make test-repeat N=30, make test-loaded N=10 - the suite again and again
#   make soak MINUTES=60 - a long game, checked for growing memory
#   make install PREFIX=P DESTDIR=D - installs the game under P (/usr/local)
#   make package  - the Debian package build/sheepfall_VERSION_ARCH.deb
#   make windows  - the game for 64-bit Windows, its zip and installer, in build-windows/
#   make test-windows - the Windows test programs, the zipped and the installed
#                game under Wine, and demos played alike on Linux and Windows
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

FUZZ_SECONDS ?= 60

PREFIX ?= /usr/local

.PHONY: all deps build run test test-linux test-repeat test-loaded soak sanitize bench memory timedemo fuzz clean install \
	package windows test-windows

all: build

deps:
	@bash scripts/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo > $(BUILD).configure.log 2>&1 \
		|| (cat $(BUILD).configure.log; exit 1)
	@cmake --build $(BUILD) -j$(JOBS)

run: build
	@bash scripts/run-game.sh $(BUILD)/sheepfall

# Both halves run whatever the first one's result, so one run shows every
# failure; the target fails when either half does.
test:
	@status=0; \
	$(MAKE) --no-print-directory test-linux || { status=1; echo "make test: the Linux half FAILED"; }; \
	$(MAKE) --no-print-directory test-windows || { status=1; echo "make test: the Windows half FAILED"; }; \
	exit $$status

test-linux: build
	@cd $(BUILD) && SDL_AUDIODRIVER=dummy xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
		ctest --output-on-failure -j$(JOBS)

# The whole suite N times in a row, exactly as `make test` runs it; the log
# of every failed run is kept as $(BUILD)/test-repeat-RUN.log.
N ?= 30
test-repeat: build
	@passed=0; for run in $$(seq 1 $(N)); do \
		log=$(BUILD)/test-repeat-$$run.log; \
		if $(MAKE) --no-print-directory test > $$log 2>&1; then \
			passed=$$((passed + 1)); rm -f $$log; echo "run $$run: passed"; \
		else echo "run $$run: FAILED (see $$log)"; fi; \
	done; echo "$$passed of $(N) runs passed"; [ $$passed -eq $(N) ]

# The same while another process keeps one core busy, as a player's or a CI
# machine often is: stress-ng runs for the whole repeat and is stopped after
# it, whatever the result. N is 10 unless given.
LOADED_N = $(if $(filter command line,$(origin N)),$(N),10)
test-loaded: build
	@stress-ng --cpu 1 --quiet & load=$$!; sleep 1; \
	if ! kill -0 $$load 2> /dev/null; then echo "stress-ng did not start"; exit 1; fi; \
	echo "one core kept busy by stress-ng (pid $$load)"; \
	status=0; $(MAKE) --no-print-directory test-repeat N=$(LOADED_N) || status=$$?; \
	kill $$load; wait $$load 2> /dev/null; exit $$status

# A long game of the real executable (scripts/soak.sh): fire held and the
# mouse sweeping for MINUTES minutes, resident memory and open files logged
# every minute to $(BUILD)/soak/soak.csv; fails when memory grows by more
# than 2 MB over the second half. Not part of `make test`.
MINUTES ?= 60
soak: build
	@bash scripts/soak.sh $(BUILD)/sheepfall $(BUILD)/data $(MINUTES) $(BUILD)/soak

# The whole suite built with AddressSanitizer and UndefinedBehaviorSanitizer
# in build-sanitize/, leak detection on; tests/lsan.supp names the system
# libraries whose own leaks are not ours.
sanitize: deps
	@cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DSHEEPFALL_SANITIZE=ON \
		-DSHEEPFALL_BENCH=OFF > build-sanitize.configure.log 2>&1 \
		|| (cat build-sanitize.configure.log; exit 1)
	@cmake --build build-sanitize -j$(JOBS)
	@cd build-sanitize && SDL_AUDIODRIVER=dummy \
		ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" ctest --output-on-failure -j$(JOBS)

# The drawing benchmarks need an OpenGL context: they run on a virtual screen
# (Mesa's software renderer), the same one whatever the machine's display, of
# the size most displays have: the desktop mode's rows draw at 1920 x 1080.
bench: build
	@cd $(BUILD) && xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" bench/sheepfall_bench

# The game's memory and start-up time beside a bare OpenGL window's.
memory: build
	@bash bench/memory/memory.sh $(BUILD)

# The aiming bot's level-3 game recorded, then played back as fast as the
# machine draws it (the game's timedemo) at 1024x768, 640x480 and the
# display's own 1920x1080 (render_scale 1 and automatic); a few minutes.
timedemo: build
	@cd $(BUILD) && SDL_AUDIODRIVER=dummy xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" \
		bench/sheepfall_timedemo

# Builds every fuzz target (fuzz/fuzz_*.cpp) with clang and its sanitizers in
# build-fuzz/ and runs each for FUZZ_SECONDS; corpora stay in build-fuzz/corpus/.
fuzz: deps
	@FUZZ_SECONDS=$(FUZZ_SECONDS) bash scripts/fuzz.sh

install: build
	@DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

package: build
	@cd $(BUILD) && cpack -G DEB

# The Windows build, cross-compiled with Debian's MinGW-w64 into
# build-windows/: scripts/install-windows-deps.sh installs the tools and
# builds the libraries once into its cache; the data is the native build's
# (only its data tool is built here), so both builds ship the same files.
WINDOWS_BUILD ?= build-windows
windows: deps
	@bash scripts/install-windows-deps.sh > $(WINDOWS_BUILD).deps.log 2>&1 \
		|| (cat $(WINDOWS_BUILD).deps.log; exit 1)
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo > $(BUILD).configure.log 2>&1 \
		|| (cat $(BUILD).configure.log; exit 1)
	@cmake --build $(BUILD) -j$(JOBS) --target gamedata icons
	@cmake -S . -B $(WINDOWS_BUILD) -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64.cmake \
		-DCMAKE_BUILD_TYPE=RelWithDebInfo -DSHEEPFALL_TESTS=ON -DSHEEPFALL_BENCH=OFF \
		-DSHEEPFALL_WINDOWS_DEPS="$$(tail -n 1 $(WINDOWS_BUILD).deps.log)" \
		-DSHEEPFALL_NATIVE_BUILD=$(CURDIR)/$(BUILD) > $(WINDOWS_BUILD).configure.log 2>&1 \
		|| (cat $(WINDOWS_BUILD).configure.log; exit 1)
	@cmake --build $(WINDOWS_BUILD) -j$(JOBS)
	@cmake --build $(WINDOWS_BUILD) --target zip
	@cd $(WINDOWS_BUILD) && cpack -G NSIS > cpack.log 2>&1 || (cat cpack.log; exit 1)

# The Windows half of `make test`: the GoogleTest programs built for Windows
# (target windows_tests, not built by `make windows`) run under Wine through
# ctest (tests/windows/wine_tests.sh), then the zipped and the installed game
# are played under Wine on a virtual screen and demos travel between the two
# builds: tests/windows/*_session.sh.
test-windows: windows
	@cmake --build $(BUILD) -j$(JOBS) --target sheepfall screenshot record_bench_demo
	@cmake --build $(WINDOWS_BUILD) -j$(JOBS) --target windows_tests
	@JOBS=$(JOBS) bash tests/windows/wine_tests.sh $(WINDOWS_BUILD)
	@SDL_AUDIODRIVER=dummy bash tests/windows/zip_session.sh $(WINDOWS_BUILD) $(BUILD)
	@SDL_AUDIODRIVER=dummy bash tests/windows/installer_session.sh $(WINDOWS_BUILD)
	@SDL_AUDIODRIVER=dummy bash tests/windows/demo_session.sh $(WINDOWS_BUILD) $(BUILD)

clean:
	rm -rf $(BUILD) $(BUILD).configure.log build-fuzz build-fuzz.configure.log \
		build-sanitize build-sanitize.configure.log $(WINDOWS_BUILD) $(WINDOWS_BUILD).*.log
