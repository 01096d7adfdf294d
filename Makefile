# Mibor8: `make` builds build/Mibor8.exe; `make run` and `make test` first install
# what they need (Debian packages, idempotently); `make bench` runs the benchmarks.

BUILD := build
JPEG  := $(BUILD)/libjpeg/install/lib/libjpeg.a
WINE_ENV := scripts/wine-env.sh $(BUILD)

.PHONY: all deps configure test run bench clean

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
	MIBOR8_VIRTUAL_DISPLAY=1 $(WINE_ENV) ctest --test-dir $(BUILD) --output-on-failure

run: deps all
	MIBOR8_KEEP_PREFIX=1 $(WINE_ENV) ./scripts/run.sh $(BUILD)

bench: deps configure
	cmake --build $(BUILD)
	MIBOR8_VIRTUAL_DISPLAY=1 $(WINE_ENV) ./bench/run.sh $(BUILD)

clean:
	rm -rf $(BUILD)
