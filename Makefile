# The two commands a newcomer needs: `make run` and `make test`.
BUILD ?= build
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANDORA_WERROR=ON
JOBS ?= $(shell nproc)

.PHONY: deps configure build test test-sanitize coverage bench run clean

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The whole suite built with AddressSanitizer (leaks included) and UndefinedBehaviorSanitizer
# in its own folder; any report fails the run. The options hold for the build too, since it
# runs the form tool and lists the tests of every test program. The suppressions path is
# quoted twice: for the shell and for the sanitizers, which split their options on spaces.
SANITIZE_BUILD ?= build-sanitize
SANITIZE_ENV = ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1 \
  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  LSAN_OPTIONS="suppressions='$(CURDIR)/scripts/lsan.supp':print_suppressions=0"

test-sanitize: deps
	@cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANDORA_WERROR=ON \
	  -DVANDORA_SANITIZE=ON -DVANDORA_BENCH=OFF >/dev/null
	@$(SANITIZE_ENV) cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	@cd $(SANITIZE_BUILD) && $(SANITIZE_ENV) QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY$$WAYLAND_DISPLAY" ] && [ -z "$$QT_QPA_PLATFORM" ]; then \
	  echo "There is no display to show the quiz on; run it under a virtual one: xvfb-run -a $(BUILD)/vandora"; \
	  exit 1; \
	fi
	@$(BUILD)/vandora

# Which lines and branches the tests reach (clang source-based coverage, build-coverage/).
coverage: deps
	@scripts/coverage

bench: build
	@for b in $(BUILD)/bench/bench_*; do echo "== $$b"; QT_QPA_PLATFORM=offscreen $$b || exit 1; done

# Every fuzz target (fuzz/) for a minute, on a copy of its seeds, in a clang build of its
# own; a crash, leak, timeout (10 s per input) or out-of-memory fails the run and leaves
# the input and the log in $(FUZZ_BUILD)/smoke. The committed corpus is only read.
FUZZ_BUILD ?= build-fuzz
FUZZ_TIME ?= 60
FUZZ_TARGETS = binary_reader text_reader polypoints picture real_form
.PHONY: fuzz-smoke

fuzz-smoke: deps
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANDORA_WERROR=ON \
	  -DVANDORA_FUZZ=ON -DVANDORA_TESTS=OFF -DVANDORA_BENCH=OFF >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers
	@for t in $(FUZZ_TARGETS); do \
	  work=$(FUZZ_BUILD)/smoke/$$t; rm -rf $$work; mkdir -p $$work/corpus; cp fuzz/corpus/$$t/* $$work/corpus/; \
	  dict=; if [ -f fuzz/$$t.dict ]; then dict=-dict=fuzz/$$t.dict; fi; \
	  echo "== fuzz_$$t, $(FUZZ_TIME) s"; \
	  if ! QT_QPA_PLATFORM=offscreen LSAN_OPTIONS="suppressions='$(CURDIR)/scripts/lsan.supp':print_suppressions=0" \
	    $(FUZZ_BUILD)/fuzz/fuzz_$$t $$dict -max_total_time=$(FUZZ_TIME) -timeout=10 \
	    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix=$$work/ $$work/corpus >$$work/log 2>&1; then \
	    tail -n 60 $$work/log; echo "fuzz_$$t failed: see $$work"; exit 1; \
	  fi; \
	  grep -E '^(stat::number_of_executed_units|#[0-9]+.*DONE)' $$work/log; \
	done

clean:
	rm -rf $(BUILD)
