# Two entry points for a fresh Debian 12 machine: `make run` and `make test`.
BUILD       ?= build
ASAN_BUILD  ?= build-asan
FUZZ_BUILD  ?= build-fuzz
JOBS        ?= $(shell nproc)
FUZZ_SECONDS ?= 30
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
# A compiler cache where one is installed: rebuilds of the same sources are quick.
LAUNCHER    := $(if $(shell command -v ccache),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
CTEST        = QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

.PHONY: deps configure build run test test-asan check-format format fuzz fuzz-long bench artwork package clean contactsheet

deps:
	@bash tools/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) $(LAUNCHER) >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

run: build
	./$(BUILD)/src/app/dkedit

# The formatting check, every test, then the whole suite again under
# AddressSanitizer and UndefinedBehaviorSanitizer, then a short run of each
# fuzzer where clang is.
test: build
	@bash tools/check-format.sh
	cd $(BUILD) && $(CTEST)
	@$(MAKE) --no-print-directory test-asan
	@$(MAKE) --no-print-directory fuzz

test-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DDK_SANITIZE=ON $(LAUNCHER) >/dev/null
	@cmake --build $(ASAN_BUILD) -j$(JOBS) --target all
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 $(CTEST)

check-format:
	@bash tools/check-format.sh

# Formats every C++ file of the tree in place.
format:
	@git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' | xargs clang-format -i

fuzz: deps
	@bash tools/fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

fuzz-long: deps
	@bash tools/fuzz.sh $(FUZZ_BUILD) 600

bench: build
	@for b in $(BUILD)/bench/bench_*; do \
	  if [ -f "$$b" ] && [ -x "$$b" ]; then QT_QPA_PLATFORM=offscreen "$$b" || exit 1; fi; \
	done

# A Debian package in build/: install it with `apt-get install ./build/dkedit_*.deb`.
package: build
	cd $(BUILD) && cpack -G DEB

artwork: configure
	@cmake --build $(BUILD) --target artwork

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)

contactsheet: build
	@cmake --build $(BUILD) --target contactsheet
