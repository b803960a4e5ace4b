# Orvinta: the two set-up commands are `make run` and `make test`.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
WERROR_BUILD ?= build-werror
JOBS       ?= $(shell nproc)
FUZZ_SECONDS ?= 600

.PHONY: all deps configure build test run bench asan fuzz check clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

run: build
	@scripts/run-orvinta $(BUILD)

bench: build
	$(BUILD)/bench/optics_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	$(BUILD)/bench/sweep_bench
	if [ -x $(BUILD)/bench/orvinta_bench ]; then \
	  QT_QPA_PLATFORM=offscreen $(BUILD)/bench/orvinta_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true; fi

asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORVINTA_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=allocator_may_return_null=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 ctest --output-on-failure -j $(JOBS)

# Each fuzz target runs for FUZZ_SECONDS: the formula evaluator, then the data file reader.
fuzz:
	@scripts/install-deps fuzz
	CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVINTA_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	mkdir -p $(FUZZ_BUILD)/corpus $(FUZZ_BUILD)/datafile_corpus
	$(FUZZ_BUILD)/tests/fuzz/parse_fuzzer $(FUZZ_BUILD)/corpus tests/fuzz/parse_seeds \
	  -dict=tests/fuzz/parse.dict -artifact_prefix=$(FUZZ_BUILD)/ \
	  -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1
	$(FUZZ_BUILD)/tests/fuzz/datafile_fuzzer $(FUZZ_BUILD)/datafile_corpus tests/fuzz/datafile_seeds \
	  -max_len=4096 -artifact_prefix=$(FUZZ_BUILD)/datafile- \
	  -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1

# What CI runs after `make test`: the include rules, the source layout, a build with warnings
# as errors, the suite under the sanitizers and every fuzz target for a minute.
check: deps
	@scripts/install-deps check
	scripts/check-includes
	scripts/check-format
	cmake -S . -B $(WERROR_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVINTA_WERROR=ON
	cmake --build $(WERROR_BUILD) -j $(JOBS)
	$(MAKE) asan
	$(MAKE) fuzz FUZZ_SECONDS=60

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(WERROR_BUILD)

# Installing. make install [PREFIX=/usr/local] [DESTDIR=stage]; make uninstall (with the same
# DESTDIR) removes exactly what the last install listed; make package writes the Debian
# package orvinta_VERSION_ARCH.deb into this folder.
PREFIX ?= /usr/local
.PHONY: install uninstall package

install: build
	DESTDIR=$(DESTDIR) cmake --install $(BUILD) --prefix $(PREFIX)

uninstall:
	DESTDIR=$(DESTDIR) cmake --build $(BUILD) --target uninstall

package: build
	@scripts/install-deps package
	cd $(BUILD) && cpack -D CPACK_OUTPUT_FILE_PREFIX=$(CURDIR)
