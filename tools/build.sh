#!/bin/sh
# Configures and builds one build folder: tools/build.sh DIR [cmake options...]
set -e
dir="$1"; shift
cmake -S "$(dirname "$0")/.." -B "$dir" -G Ninja "$@"
cmake --build "$dir"
