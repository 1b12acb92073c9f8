#!/usr/bin/env bash
# Builds the test configuration (AddressSanitizer and UndefinedBehaviorSanitizer)
# and runs every test; the threaded engine and component tests run once more
# under ThreadSanitizer. Installs missing Debian packages first.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/install-deps.sh"
"$here/scripts/format.sh" --check
build="$here/build-test"
jobs=$(nproc)
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKV_SANITIZE=ON -DKV_WERROR=ON
cmake --build "$build" -j "$jobs"

# Render bands and document copies evaluate on several threads at once, and
# the sound plays from a ring task and the device callback: the engine,
# component and sound tests also run under ThreadSanitizer, in a build of
# their own.
tsan="$here/build-tsan"
cmake -S "$here" -B "$tsan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKV_TSAN=ON -DKV_WERROR=ON
cmake --build "$tsan" -j "$jobs" --target test_engine test_components test_sound
for t in engine components sound; do
  echo "ThreadSanitizer: test_$t"
  TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$here/tests/tsan.supp \
    "$tsan/tests/$t/test_$t" --gtest_brief=1
done

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$here/tests/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
cd "$build"
# Window tests need a display and a session bus: a virtual X server and a
# private bus of their own for this run.
xvfb-run -a -s "-screen 0 1280x1024x24" dbus-run-session -- \
  ctest --output-on-failure -j "$jobs" "$@"
