#!/usr/bin/env bash
# Builds the program (Release) and starts it on the example trees, or on the
# folders given:
#
#   ./scripts/run.sh [FOLDER...]
#
# Installs missing Debian packages first. The program is
# build-release/kovrelin-browser, with its Resources/ beside it and the
# example trees in build-release/examples/. Without a display run it under
# a virtual one: xvfb-run -a ./scripts/run.sh
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/install-deps.sh"
build="$here/build-release"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKV_BUILD_TESTS=OFF
cmake --build "$build" -j "$(nproc)" --target kovrelin-browser examples
if [ "$#" -eq 0 ]; then
  set -- "$build/examples"
fi
exec "$build/kovrelin-browser" "$@"
