# Two verbs: `make` builds everything into dist/ and shows a sample,
# `make test` builds everything and runs every test.
MAKEFLAGS += --no-print-directory
JOBS ?= $(shell nproc)
BUILD := build
DIST := dist
# Reproducible builds: the add-ins' "built on" date and time are the last
# commit's, so two builds of one commit are the same bytes.
COMMIT_TIME := $(shell git log -1 --format=%ct 2>/dev/null)
ifneq ($(COMMIT_TIME),)
export SOURCE_DATE_EPOCH ?= $(COMMIT_TIME)
endif

.PHONY: all test bench bootstrap native sanitize tsan win32 win64 win64-setup-test dist sample clean

all: dist sample

bootstrap:
	@scripts/bootstrap

native: bootstrap
	@cmake --preset native >/dev/null
	@cmake --build $(BUILD)/native -j $(JOBS)

sanitize: bootstrap
	@cmake --preset sanitize >/dev/null
	@cmake --build $(BUILD)/sanitize -j $(JOBS)

# ThreadSanitizer: the core library and the multithreaded tests only.
tsan: bootstrap
	@cmake --preset tsan >/dev/null
	@cmake --build $(BUILD)/tsan -j $(JOBS) --target threads_test

# The 32-bit build carries the installer, which embeds the 64-bit add-in.
win32: bootstrap win64
	@cmake --preset win32 >/dev/null
	@cmake --build $(BUILD)/win32 -j $(JOBS)

win64: bootstrap
	@cmake --preset win64 >/dev/null
	@cmake --build $(BUILD)/win64 -j $(JOBS)

# A 64-bit build of the installer for the end-to-end test under 64-bit Wine;
# it embeds the 32-bit add-in, so it comes after the win32 build.
win64-setup-test: win32
	@cmake --build $(BUILD)/win64 -j $(JOBS) --target VapordexSetupTest64

dist: native win32 win64
	@mkdir -p $(DIST)
	@cp $(BUILD)/native/cli/vapordex $(BUILD)/native/VapordexExamples.xlsx $(DIST)/
	@cp $(BUILD)/native/calc/Vapordex.oxt $(DIST)/
	@cp $(BUILD)/win32/xll/Vapordex32.xll $(BUILD)/win64/xll/Vapordex64.xll $(DIST)/
	@cp $(BUILD)/win32/installer/VapordexSetup.exe $(DIST)/

sample: dist
	@echo "Saturation states, IAPWS-IF97, SI units (T in K; P in MPa; h in kJ/kg):"
	@for t in 300 373.15 450 550 647; do \
	  printf '  T = %-7s Psat = %-22s hf = %-22s hg = %s\n' $$t \
	    "$$($(DIST)/vapordex Psat $$t -97)" "$$($(DIST)/vapordex Hf $$t -97)" "$$($(DIST)/vapordex Hg $$t -97)"; \
	done
	@echo "HofTP(500 F, 1000 psia, 97) = $$($(DIST)/vapordex HofTP 500 1000 97) BTU/lbm"

test: dist sanitize tsan win64-setup-test
	@ctest --test-dir $(BUILD)/native --output-on-failure -j $(JOBS)
	@ctest --test-dir $(BUILD)/sanitize --output-on-failure -j $(JOBS) -LE 'windows|lint' 
	@ctest --test-dir $(BUILD)/tsan --output-on-failure -R '^Threads\.'

# Cost per call of every function under every formulation, in ns, and the
# batch throughput (Release build): the median of three runs of each, which
# a busy machine disturbs less than a single run.
bench: native
	@$(BUILD)/native/bench/vapordex_bench --benchmark_filter='Matrix/|BM_Batch|Region/|BM_Mixed|BM_Compute' \
	  --benchmark_min_time=0.05 --benchmark_repetitions=3 --benchmark_report_aggregates_only=true \
	  --benchmark_format=json 2>/dev/null | python3 tools/bench_table.py

clean:
	rm -rf $(BUILD) $(DIST)
