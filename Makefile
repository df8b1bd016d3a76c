# The two commands of a fresh machine: `make run` and `make test`. Both install what is missing.
JOBS ?= $(shell nproc)
BUILD := build
ASAN_BUILD := build-asan
TSAN_BUILD := build-tsan
FUZZ_BUILD := build-fuzz
FUZZ_SECONDS ?= 10
FUZZ_MERGE ?= 0
FUZZ_RUNS ?= -1
FUZZ_TARGETS ?=
PREFIX ?= /usr/local

.PHONY: all deps build run install uninstall test test-normal test-asan test-fuzz fuzz format clean

all: build

deps:
	@tools/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS)

run: build
	@tools/run.sh $(BUILD)

# The programs, the game's data, the desktop entry with its icons and the manual pages under
# PREFIX; uninstall takes away what the installs into PREFIX put there.
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

uninstall:
	cmake -DPREFIX=$(PREFIX) -P cmake/Uninstall.cmake

test: deps
	@tools/test-all.sh $(JOBS) $(FUZZ_SECONDS)

# Each fuzz program (or those in FUZZ_TARGETS) for FUZZ_SECONDS or FUZZ_RUNS inputs, whichever
# comes first, from its committed corpus; FUZZ_MERGE=1 merges what the runs add to coverage into fuzz/corpus/.
fuzz: deps
	@JOBS=$(JOBS) FUZZ_MERGE=$(FUZZ_MERGE) FUZZ_RUNS=$(FUZZ_RUNS) tools/fuzz-all.sh $(FUZZ_SECONDS) $(FUZZ_TARGETS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD) $(FUZZ_BUILD)
