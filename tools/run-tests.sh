#!/bin/sh
# Builds and runs every test twice: a normal build, and one with
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -e
top="$(cd "$(dirname "$0")/.." && pwd)"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$top/tools/lsan.supp"

"$top/tools/build.sh" "$top/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSAMAR_WERROR=ON
ctest --test-dir "$top/build" --output-on-failure -j2

"$top/tools/build.sh" "$top/build-asan" -DCMAKE_BUILD_TYPE=Debug -DTESSAMAR_SANITIZE=ON -DTESSAMAR_BENCH=OFF -DTESSAMAR_WERROR=ON
ctest --test-dir "$top/build-asan" --output-on-failure -j2
