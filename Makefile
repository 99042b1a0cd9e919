# The three entry points: make run, make test, make bench.
BUILD      ?= build
BUILD_BENCH ?= build-bench
GENERADOR  := -G Ninja

.PHONY: deps configure build run test bench clean

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

clean:
	rm -rf $(BUILD) $(BUILD_BENCH)
