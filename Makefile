# Two entry points: `make run` builds and launches Kelvo, `make test` builds and runs every test.
# Both install what is missing first. `make package` builds the packages into build/packages/.
BUILD_DIR ?= build
JOBS ?= $(shell nproc 2>/dev/null || sysctl -n hw.ncpu 2>/dev/null || echo 2)
CMAKE_PREFIX_PATH ?= $(shell brew --prefix qt 2>/dev/null)
# The window's binary: inside the application bundle on macOS.
KELVO_BIN := $(BUILD_DIR)/src/Kelvo/$(if $(filter Darwin,$(shell uname -s)),Kelvo.app/Contents/MacOS/Kelvo,kelvo)

FUZZ_SECONDS ?= 60
# Homebrew's LLVM on macOS (Apple's clang has no libFuzzer), the system's clang elsewhere.
FUZZ_LLVM := $(shell brew --prefix llvm 2>/dev/null)
FUZZ_CXX ?= $(if $(FUZZ_LLVM),$(FUZZ_LLVM)/bin/clang++,clang++)
FUZZ_DIR ?= build-fuzz
SANITIZE_DIR ?= build-sanitize

.PHONY: deps configure build run test package install uninstall bench format clean fuzz sanitize

# A compiler named in the environment or on the command line (`CXX=clang++ make test`) is installed
# when missing and used, also in a folder configured before with another one.
CHOSEN_CXX := $(if $(filter-out default,$(origin CXX)),$(CXX),)

deps:
	@bash scripts/install-deps.sh $(if $(findstring clang,$(CHOSEN_CXX)),--clang,)

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		$(if $(CHOSEN_CXX),-DCMAKE_CXX_COMPILER=$(CHOSEN_CXX),) \
		$(if $(CMAKE_PREFIX_PATH),-DCMAKE_PREFIX_PATH=$(CMAKE_PREFIX_PATH),)

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@$(KELVO_BIN)

test: build
	@cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# CPack's packages of this system (see packaging/CPackSettings.cmake), after the build.
package: build
	@cd $(BUILD_DIR) && cpack

# Puts the built programs, the desktop entry and the icon under PREFIX (/usr/local: run it with sudo;
# PREFIX=$$HOME/.local needs no rights). It installs what was built and never builds: run `make build`
# (or `make run`) first as yourself, so that no build file belongs to root. `make uninstall` removes
# exactly the files the last install listed.
PREFIX ?= /usr/local
install:
	@test -f $(BUILD_DIR)/build.ninja || { echo "Nothing is built yet: run 'make build' first." >&2; exit 1; }
	@cmake --install $(BUILD_DIR) --prefix $(PREFIX) --strip
	@command -v update-desktop-database >/dev/null && update-desktop-database -q $(PREFIX)/share/applications || true

uninstall:
	@test -f $(BUILD_DIR)/install_manifest.txt || { echo "No install is recorded in $(BUILD_DIR)/install_manifest.txt." >&2; exit 1; }
	@while IFS= read -r file || [ -n "$$file" ]; do rm -fv -- "$$file"; \
		case "$$file" in */kelvo/*) rmdir --ignore-fail-on-non-empty -- "$${file%/*}";; esac; \
	done < $(BUILD_DIR)/install_manifest.txt
	@rm -f $(BUILD_DIR)/install_manifest.txt

# Every fuzz target, built with clang, ASan and UBSan in its own folder, each run for FUZZ_SECONDS.
fuzz:
	@bash scripts/install-deps.sh --fuzz
	@cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVO_FUZZ=ON \
		-DCMAKE_CXX_COMPILER=$(FUZZ_CXX) \
		$(if $(CMAKE_PREFIX_PATH),-DCMAKE_PREFIX_PATH=$(CMAKE_PREFIX_PATH),)
	@cmake --build $(FUZZ_DIR) -j $(JOBS)
	@bash fuzz/run.sh $(FUZZ_DIR) $(FUZZ_SECONDS) $(JOBS)

# The whole test suite on a build whose code is checked by ASan and UBSan; any finding fails it.
sanitize: deps
	@cmake -S . -B $(SANITIZE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVO_SANITIZE=ON \
		$(if $(CMAKE_PREFIX_PATH),-DCMAKE_PREFIX_PATH=$(CMAKE_PREFIX_PATH),)
	@cmake --build $(SANITIZE_DIR) -j $(JOBS)
	@cd $(SANITIZE_DIR) && QT_QPA_PLATFORM=offscreen \
		ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan-suppressions.txt:print_suppressions=0 \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --output-on-failure -j $(JOBS)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD_DIR)
