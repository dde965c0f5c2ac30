#!/bin/sh
# Builds and runs every test twice: a normal build, and one with
# AddressSanitizer and UndefinedBehaviorSanitizer; between them, a link of
# every library that fails on a name defined twice.
set -e
top="$(cd "$(dirname "$0")/.." && pwd)"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$top/tools/lsan.supp"

"$top/tools/build.sh" "$top/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSAMAR_WERROR=ON
ctest --test-dir "$top/build" --output-on-failure -j2

# Every library's objects in one link-time-optimised link: two folders that
# each define a class of the same name (which the ordinary linker takes
# silently, one of them then misread) fail here with -Werror=odr.
cmake -S "$top" -B "$top/build-odr" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSAMAR_ODR_CHECK=ON -DTESSAMAR_TESTS=OFF -DTESSAMAR_BENCH=OFF -DTESSAMAR_WERROR=ON
cmake --build "$top/build-odr" --target tessamar_odr_check

"$top/tools/build.sh" "$top/build-asan" -DCMAKE_BUILD_TYPE=Debug -DTESSAMAR_SANITIZE=ON -DTESSAMAR_BENCH=OFF -DTESSAMAR_WERROR=ON
ctest --test-dir "$top/build-asan" --output-on-failure -j2
