# The one front door. Every target first installs what is missing
# (scripts/setup.sh does no network work on a machine that has everything).
#
#   make run     build and run the main job
#   make test    build everything and run every test suite
#   make build   build the host and Windows trees
#   make bench   build and run the benchmarks
#   make fuzz    run the fuzz targets with libFuzzer for a while (clang)
#   make damaged-corpus  the whole damaged-skin corpus through engine and editor
.PHONY: setup build build-native build-asan build-win64 build-win32 test run bench fuzz clean \
  damaged-corpus

SAMPLE := build/sample

setup:
	@scripts/setup.sh

build/%/build.ninja:
	@cmake --preset $* >/dev/null

build-native: setup build/native/build.ninja
	@cmake --build build/native

build-asan: setup build/native-asan/build.ninja
	@cmake --build build/native-asan

build-win64: setup build/win64/build.ninja
	@cmake --build build/win64

build-win32: setup build/win32/build.ninja
	@cmake --build build/win32

build: build-native build-win64

test: build-native build-asan build-win64 build-win32
	@scripts/run-tests.sh build/native build/native-asan build/win64

# The editor on the built-in default skin: on the user's display when there is
# one, otherwise run under Xvfb, where its live preview photographs the sample
# form wearing the skin into build/preview.jpg (the JPEG snapshot) and the
# main window, preview pane included, into build/tessaly.bmp.
run: setup build/win64/build.ninja
	@cmake --build build/win64 --target tessaly
	@if [ -n "$${DISPLAY:-}" ]; then \
	  MV_DISPLAY="$$DISPLAY" scripts/wine-run.sh --build build/win64 build/win64/bin/tessaly.exe --new; \
	else \
	  scripts/wine-run.sh --build build/win64 --desktop build/win64/bin/tessaly.exe \
	    --new --select Colors --preview-shot build/preview.jpg --shot build/tessaly.bmp && \
	  echo "screenshot of the editor on the default skin: build/tessaly.bmp" && \
	  echo "preview snapshot of the sample form wearing it: build/preview.jpg"; \
	fi

bench: build-native setup build/win64/build.ninja
	@build/native/bin/lzh_bench
	@bench/lzh_commands.sh build/native
	@cmake --build build/win64 --target paint_bench frame_bench gallery_bench editor_bench
	@scripts/wine-run.sh --build build/win64 build/win64/bin/paint_bench.exe
	@scripts/wine-run.sh --build build/win64 build/win64/bin/frame_bench.exe
	@scripts/wine-run.sh --build build/win64 build/win64/bin/gallery_bench.exe
	@scripts/wine-run.sh --build build/win64 build/win64/bin/editor_bench.exe

# make test runs a sample of the damaged-skin corpus; this runs all of it.
damaged-corpus: setup build/native/build.ninja build/win64/build.ninja
	@cmake --build build/native --target damaged-corpus
	@cmake --build build/win64 --target damaged-corpus

FUZZ_TARGETS := package_fuzz quick_ini_fuzz mem_ini_fuzz bmp_fuzz exe_image_fuzz skin_parse_fuzz \
  skin_check_fuzz jpeg_fuzz editor_open_fuzz
fuzz: setup
	@CC=clang CXX=clang++ cmake --preset fuzz >/dev/null
	@cmake --build build/fuzz --target $(FUZZ_TARGETS)
	@# Each target runs as corpus:max_len; the lengths keep every target quick
	@# enough (hundreds to thousands of runs a second) to find something.
	@for entry in package_fuzz:package:512 quick_ini_fuzz:ini:1024 mem_ini_fuzz:ini:512 \
	    bmp_fuzz:bmp:1024 exe_image_fuzz:pe:1024 skin_parse_fuzz:skin:512 \
	    skin_check_fuzz:package:1024 jpeg_fuzz:jpeg:1024 editor_open_fuzz:package:1024; do \
	  t=$${entry%%:*}; rest=$${entry#*:}; c=$${rest%%:*}; len=$${rest#*:}; \
	  mkdir -p build/fuzz/corpus-$$t; \
	  build/fuzz/bin/$$t -max_total_time=$${FUZZ_SECONDS:-60} -max_len=$$len -timeout=10 \
	    build/fuzz/corpus-$$t fuzz/corpus/$$c || exit 1; \
	done

clean:
	@rm -rf build/native build/native-asan build/win64 build/win32 build/fuzz $(SAMPLE)
