# The three entry points: make run, make test, make bench.
BUILD      ?= build
BUILD_BENCH ?= build-bench
GENERADOR  := -G Ninja

.PHONY: deps configure build run test bench clean bench-arranque

deps:
	@bash scripts/dependencias.sh

configure: deps
	@cmake -S . -B $(BUILD) $(GENERADOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD)

run: build
	@$(BUILD)/Cartoval/cartoval

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2

bench: deps
	@cmake -S . -B $(BUILD_BENCH) $(GENERADOR) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD_BENCH) --target cartoval_bench
	@$(BUILD_BENCH)/cartoval_bench

# Start-up of the game, warm, under Xvfb: from exec to the main window painted, with the
# memory it holds then, beside a bare Qt window.
bench-arranque: deps
	@cmake -S . -B $(BUILD_BENCH) $(GENERADOR) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD_BENCH) --target cartoval_arranque
	@xvfb-run -a -s "-screen 0 1920x1080x24" $(BUILD_BENCH)/cartoval_arranque 10

clean:
	rm -rf $(BUILD) $(BUILD_BENCH)
