# Mibor8: `make` builds build/Mibor8.exe; `make run` and `make test` first install
# what they need (Debian packages, idempotently) and put the user manual
# build/Mibor8.pdf beside the program; `make installer` builds the setup program
# build/Mibor8-Setup.exe (`make test` too, whose tests install it); `make bench`
# runs the benchmarks.

BUILD := build
JPEG  := $(BUILD)/libjpeg/install/lib/libjpeg.a
WINE_ENV := scripts/wine-env.sh $(BUILD)
MANUAL := $(BUILD)/Mibor8.pdf
# Each test has a Wine prefix and a display of its own: they run side by side,
# one for each processor.
TEST_JOBS := $(shell nproc)
# The manual's pictures are taken again when the program changed; the PDF is
# written again only when what they show changed (manual/build.py).
MANUAL_MADE := $(BUILD)/manual/made.stamp
MANUAL_SOURCES := $(wildcard manual/*.md manual/*.py manual/*.rtf) tests/e2e/harness.py

.PHONY: all deps configure test test-programs check run bench manual installer clean

all: deps configure
	cmake --build $(BUILD) --target Mibor8

deps:
	./scripts/install-deps.sh

$(JPEG):
	mkdir -p $(BUILD)
	./scripts/build-libjpeg.sh $(BUILD)

$(BUILD)/build.ninja: CMakeLists.txt $(JPEG)
	cmake -S . -B $(BUILD) -G Ninja \
	    -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-mingw.cmake \
	    -DCMAKE_BUILD_TYPE=Release

configure: $(BUILD)/build.ninja

# The manual's pictures are taken while the tests are compiled.
test: deps configure
	cmake --build $(BUILD) --target Mibor8 e2e_driver
	$(MAKE) --no-print-directory -j2 test-programs $(MANUAL_MADE)
	cmake --build $(BUILD) --target installer
	ctest --test-dir $(BUILD) --output-on-failure -j$(TEST_JOBS)

test-programs:
	cmake --build $(BUILD)

# One test (its ctest name, T=...) in the environment of `make test`; with
# F=FILTER only the GoogleTest cases that filter names.
check: deps configure
	cmake --build $(BUILD)
	$(if $(F),MIBOR8_VIRTUAL_DISPLAY=1 $(WINE_ENV) scripts/wine-run.sh $(BUILD)/tests/$(T).exe --gtest_filter='$(F)',ctest --test-dir $(BUILD) -R '^$(T)$$' --output-on-failure)

run: deps all manual
	MIBOR8_KEEP_PREFIX=1 $(WINE_ENV) ./scripts/run.sh $(BUILD)

# The user manual, with pictures of the program taken under Wine on a virtual
# display; made again only when its sources or the program changed.
manual: deps configure
	cmake --build $(BUILD) --target Mibor8 e2e_driver
	$(MAKE) --no-print-directory $(MANUAL_MADE)

$(MANUAL_MADE): $(MANUAL_SOURCES) $(BUILD)/Mibor8.exe
	PYTHONDONTWRITEBYTECODE=1 MIBOR8_VIRTUAL_DISPLAY=1 $(WINE_ENV) /usr/bin/python3 manual/build.py $(BUILD)

# The setup program: the program and its manual, built by NSIS.
installer: manual
	cmake --build $(BUILD) --target installer

bench: deps configure
	cmake --build $(BUILD) --target all benchmarks
	MIBOR8_VIRTUAL_DISPLAY=1 $(WINE_ENV) ./bench/run.sh $(BUILD)

clean:
	rm -rf $(BUILD)
