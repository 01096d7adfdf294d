# Mibor8: `make` builds build/Mibor8.exe; `make run` and `make test` first install
# what they need (Debian packages, idempotently) and put the user manual
# build/Mibor8.pdf beside the program; `make bench` runs the benchmarks.

BUILD := build
JPEG  := $(BUILD)/libjpeg/install/lib/libjpeg.a
WINE_ENV := scripts/wine-env.sh $(BUILD)
MANUAL := $(BUILD)/Mibor8.pdf
MANUAL_SOURCES := $(wildcard manual/*.md manual/*.py manual/*.rtf) tests/e2e/harness.py

.PHONY: all deps configure test run bench manual clean

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

test: deps configure
	cmake --build $(BUILD)
	$(MAKE) --no-print-directory $(MANUAL)
	MIBOR8_VIRTUAL_DISPLAY=1 $(WINE_ENV) ctest --test-dir $(BUILD) --output-on-failure

run: deps all manual
	MIBOR8_KEEP_PREFIX=1 $(WINE_ENV) ./scripts/run.sh $(BUILD)

# The user manual, with pictures of the program taken under Wine on a virtual
# display; made again only when its sources or the program changed.
manual: deps configure
	cmake --build $(BUILD) --target Mibor8 e2e_driver
	$(MAKE) --no-print-directory $(MANUAL)

$(MANUAL): $(MANUAL_SOURCES) $(BUILD)/Mibor8.exe
	PYTHONDONTWRITEBYTECODE=1 MIBOR8_VIRTUAL_DISPLAY=1 $(WINE_ENV) /usr/bin/python3 manual/build.py $(BUILD)

bench: deps configure
	cmake --build $(BUILD)
	MIBOR8_VIRTUAL_DISPLAY=1 $(WINE_ENV) ./bench/run.sh $(BUILD)

clean:
	rm -rf $(BUILD)
