# Entry points: make run, make test, make bench; make test-asan, soak and fuzz harden them.
# A test that hangs (a modal dialog nobody answers) fails after 300 s instead of waiting.
BUILD      ?= build
BUILD_BENCH ?= build-bench
GENERADOR  := -G Ninja

.PHONY: deps configure build run test bench clean test-asan test-tsan soak fuzz bench-arranque \
	install paquete probar-paquete

deps:
	@bash scripts/dependencias.sh

configure: deps
	@cmake -S . -B $(BUILD) $(GENERADOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD)

run: build
	@$(BUILD)/Cartoval/cartoval

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 --timeout 300

# Installs the game for everyone: make install [PREFIX=/usr] [DESTDIR=...]. The prefix is
# compiled in: the installed game finds its help file there and keeps the player's files
# in $$XDG_DATA_HOME/cartoval.
PREFIX ?= /usr/local
install: deps
	@cmake -S . -B $(BUILD) $(GENERADOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCMAKE_INSTALL_PREFIX=$(PREFIX) >/dev/null
	@cmake --build $(BUILD) --target cartoval cartoval-mesa cartoval_iconos cartoval_manual
	@cmake --install $(BUILD)

# A Debian package (CPack) in $(BUILD_PAQUETE): apt install ./$(BUILD_PAQUETE)/cartoval_*.deb
# Release, as make bench: the search is compiled with a profile of its own run, which the
# build trains first (cmake/Perfil.cmake; CARTOVAL_PERFIL=OFF leaves it out).
BUILD_PAQUETE ?= build-paquete
paquete: deps
	@cmake -S . -B $(BUILD_PAQUETE) $(GENERADOR) -DCMAKE_BUILD_TYPE=Release \
		-DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
	@cmake --build $(BUILD_PAQUETE) --target cartoval cartoval-mesa cartoval_iconos cartoval_manual
	@cd $(BUILD_PAQUETE) && cpack -G DEB >/dev/null && ls -1 $(CURDIR)/$(BUILD_PAQUETE)/cartoval_*.deb

# The package as a player gets it (root; installs and then removes it with apt): started
# from /usr/bin under Xvfb with a scratch home, played, closed, its data folder listed.
probar-paquete: paquete
	@bash packaging/probar_paquete.sh $$(ls -1t $(BUILD_PAQUETE)/cartoval_*.deb | head -n 1)

# The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer, leaks on.
# Test discovery runs the binaries at build time, so the build gets the same settings.
BUILD_ASAN ?= build-asan
SANEAR_ENTORNO := ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/.ci/lsan.supp:print_suppressions=0 \
	ASAN_SYMBOLIZER_PATH=/usr/lib/llvm-14/bin/llvm-symbolizer

test-asan: deps
	@cmake -S . -B $(BUILD_ASAN) $(GENERADOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCMAKE_CXX_COMPILER=clang++ -DCARTOVAL_SANEAR=ON >/dev/null
	@$(SANEAR_ENTORNO) cmake --build $(BUILD_ASAN)
	@cd $(BUILD_ASAN) && $(SANEAR_ENTORNO) QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 --timeout 300

# The threaded code under ThreadSanitizer: the window tests whose workers search for the
# verdict or decode pictures, and the solver's two searches at once. Qt is not built with
# it: .ci/tsan.supp names the few reports from inside Qt, each with the reason.
BUILD_TSAN ?= build-tsan
HILOS_ENTORNO := TSAN_OPTIONS="suppressions=$(CURDIR)/.ci/tsan.supp halt_on_error=1 second_deadlock_stack=1"
test-tsan: deps
	@cmake -S . -B $(BUILD_TSAN) $(GENERADOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCMAKE_CXX_COMPILER=clang++ -DCARTOVAL_HILOS=ON >/dev/null
	@$(HILOS_ENTORNO) cmake --build $(BUILD_TSAN) --target pruebas_nucleo pruebas_ventanas
	@$(HILOS_ENTORNO) $(BUILD_TSAN)/pruebas_nucleo --gtest_filter='Solucionador.MismaPosicionMismaRespuesta'
	@$(HILOS_ENTORNO) QT_QPA_PLATFORM=offscreen $(BUILD_TSAN)/pruebas_ventanas \
		--gtest_filter='AyudasTest.*:ImagenesReversosTest.*'

# Random play, 2000 deals per game, with the oracle after every step; not part of make test.
BUILD_SOAK ?= build-soak
soak: deps
	@cmake -S . -B $(BUILD_SOAK) $(GENERADOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD_SOAK) --target pruebas_soak
	@CARTOVAL_REPARTOS=2000 $(BUILD_SOAK)/pruebas_soak --gtest_filter='Juegos/Soak.*'

# Each libFuzzer target for FUZZ_SEGUNDOS seconds (clang, ASan and UBSan); crash inputs
# stay in $(BUILD_FUZZ)/fuzz/fallos. ctest runs the same targets for 10 s each.
BUILD_FUZZ ?= build-fuzz
FUZZ_SEGUNDOS ?= 60
FUZZ_OBJETIVOS := puntuaciones configuracion imagenes numero pasos juego partidas ayuda
fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B $(BUILD_FUZZ) $(GENERADOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCARTOVAL_FUZZ=ON >/dev/null
	@cmake --build $(BUILD_FUZZ) --target fuzz_todos
	@for t in $(FUZZ_OBJETIVOS); do \
		ASAN_OPTIONS=abort_on_error=1:detect_leaks=1 \
		UBSAN_OPTIONS=abort_on_error=1:halt_on_error=1:print_stacktrace=1 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/.ci/lsan.supp:print_suppressions=0 \
		ASAN_SYMBOLIZER_PATH=/usr/lib/llvm-14/bin/llvm-symbolizer QT_QPA_PLATFORM=offscreen \
		fuzz/correr.sh $(BUILD_FUZZ)/fuzz/fuzz_$$t $(FUZZ_SEGUNDOS) $(BUILD_FUZZ)/fuzz/semillas/$$t \
			$(BUILD_FUZZ)/fuzz/corpus/$$t $(BUILD_FUZZ)/fuzz/fallos || exit 1; \
	done

bench: deps
	@cmake -S . -B $(BUILD_BENCH) $(GENERADOR) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD_BENCH) --target cartoval_bench
	@$(BUILD_BENCH)/cartoval_bench

# Start-up and the first game, warm, under Xvfb at 1920x1080, each beside a bare Qt window
# with one label measured in the same run (bench/arranque/Arranque.cpp): exec -> main window
# painted on the display and the memory then (VmRSS, VmHWM), Enter in the list -> game window
# painted, "Nuevo Juego" -> the new deal painted, and the start with 200 photographs of
# 1600x1200 in Reversos/; then 200 runs of `cartoval-mesa repartir` against the same tool with
# the shared libstdc++. Medians of ARRANQUE_VECES runs, with the least and the most; the
# ratios against the bare window and the targets come last. ARRANQUE_OTRO, the
# cartoval_arranque_programa of another build (an older commit), is measured in the same run.
# Real-time priority where the user may take it, to cut the noise of a busy machine.
ARRANQUE_VECES ?= 15
ARRANQUE_OTRO ?=
bench-arranque: deps
	@cmake -S . -B $(BUILD_BENCH) $(GENERADOR) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD_BENCH) --target cartoval_arranque
	@$$(chrt -f 10 true 2>/dev/null && echo chrt -f 10) xvfb-run -a -s "-screen 0 1920x1080x24" \
		$(BUILD_BENCH)/cartoval_arranque $(ARRANQUE_VECES) $(ARRANQUE_OTRO)

clean:
	rm -rf $(BUILD) $(BUILD_BENCH)
