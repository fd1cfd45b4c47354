# The README's commands. Each one does its own set-up on a fresh Debian 12 machine.
.PHONY: all test tsan run screenshot screenshots bench fuzz deps dev release package clean

# The checked (sanitized) programs report leaks when they end; the few inside system
# libraries, which we cannot free, are listed in tests/lsan.supp. Every program run from
# here (tests, the application, the fuzz targets) gets that list; our own leaks still count.
export LSAN_OPTIONS := suppressions=$(CURDIR)/tests/lsan.supp$(if $(LSAN_OPTIONS),:$(LSAN_OPTIONS))

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

# The tests of the threaded parts (link with the simulated processor, firmware, window)
# under ThreadSanitizer, in a build of their own (build/tsan). Any report fails the run. The
# close under a real X server is left out: it checks the checked build's exit, and under
# this sanitizer only reports the X11 libraries' own teardown.
tsan: deps
	cmake --preset tsan
	cmake --build --preset tsan
	ctest --preset tsan

# The application against the simulated processor, whose memory is kept in
# build/demo-processor.vsim between runs (it starts with an example tuning). VANTOR_TRACE=1
# prints the frames on the wire. Without a display the window cannot open; then the demo
# is drawn into build/vantor-demo.png instead.
VANTOR := build/release/src/ui/vantor
DEMO := --demo --demo-state build/demo-processor.vsim --sample-tune
run: release
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "make run: no display (neither DISPLAY nor WAYLAND_DISPLAY is set);" \
	    "writing the demo window to build/vantor-demo.png instead" >&2; \
	  QT_QPA_PLATFORM=offscreen $(VANTOR) $(DEMO) --screenshot build/vantor-demo.png; \
	else \
	  $(VANTOR) $(DEMO); \
	fi

# The README's picture: the demo after its read-back, with the sample measurements, drawn
# off-screen.
screenshot: release
	QT_QPA_PLATFORM=offscreen $(VANTOR) --demo --sample-tune --lang en \
	  --measurements docs/samples/car.vmeas --screenshot docs/screenshot.png

# The README's pictures of every window the form opens, in both languages:
# docs/screenshots/<name>-<lang>.png for each name `vantor --list-windows` gives, and the
# main window as main-<lang>.png. Each is drawn off-screen against a fresh simulated
# processor holding the example tuning.
SHOTS := docs/screenshots
screenshots: release
	@mkdir -p $(SHOTS)
	@set -e; for lang in en zh; do \
	  echo "== main ($$lang)"; \
	  QT_QPA_PLATFORM=offscreen $(VANTOR) --demo --sample-tune --lang $$lang \
	    --screenshot $(SHOTS)/main-$$lang.png; \
	  for name in $$($(VANTOR) --list-windows); do \
	    echo "== $$name ($$lang)"; \
	    QT_QPA_PLATFORM=offscreen $(VANTOR) --demo --sample-tune --lang $$lang --open $$name \
	      --screenshot $(SHOTS)/$$name-$$lang.png; \
	  done; \
	done

# The Debian package of the release build: build/release/vantor_<version>_<arch>.deb, to be
# installed with `apt install ./build/release/vantor_*.deb`.
package: release
	cmake --build --preset release --target package

bench: release
	@for b in build/release/bench/bench_*; do echo "== $$b"; $$b; done

# Each fuzz target runs for 60 seconds on its own corpus (seeded from fuzz/corpus/<name>),
# with the libFuzzer flags of fuzz/<name>.options if it has them; findings are left as
# crash-* files in build/fuzz/findings and fail the run. `make test` replays the seeds.
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
	  options=""; [ -f fuzz/$$name.options ] && options=$$(cat fuzz/$$name.options); \
	  echo "== $$name ($(FUZZ_SECONDS) s) $$options"; \
	  $$f -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 $$options \
	    -artifact_prefix=build/fuzz/findings/$$name- build/fuzz/corpus/$$name $$seeds; \
	done

clean:
	rm -rf build
