# The README's commands. Each one does its own set-up on a fresh Debian 12 machine.
.PHONY: all test run bench fuzz deps dev release clean

all: dev

deps:
	@scripts/install-deps

dev: deps
	cmake --preset dev
	cmake --build --preset dev

release: deps
	cmake --preset release
	cmake --build --preset release

test: dev
	ctest --preset dev

# Until the application window exists, the main job is a curve from the command-line tool:
# a 6 dB boost at 1 kHz under a 24 dB/Oct Linkwitz-Riley high-pass at 80 Hz.
run: release
	build/release/src/cli/vantorctl curve type=peak,freq=1000,gain=6,bw=80 \
	  type=highpass,freq=80,slope=2,family=linkwitz

bench: release
	@for b in build/release/bench/bench_*; do echo "== $$b"; $$b; done

# Each fuzz target runs for 60 seconds on its own corpus (seeded from fuzz/corpus/<name>);
# findings are left as crash-* files in build/fuzz/findings and fail the run.
FUZZ_SECONDS ?= 60
fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz
	@mkdir -p build/fuzz/findings
	@set -e; for f in build/fuzz/fuzz/fuzz_*; do \
	  [ -x "$$f" ] || continue; \
	  name=$$(basename $$f); \
	  mkdir -p build/fuzz/corpus/$$name; \
	  seeds=""; [ -d fuzz/corpus/$$name ] && seeds=fuzz/corpus/$$name; \
	  echo "== $$name ($(FUZZ_SECONDS) s)"; \
	  $$f -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	    -artifact_prefix=build/fuzz/findings/$$name- build/fuzz/corpus/$$name $$seeds; \
	done

clean:
	rm -rf build
