#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite; then the tests that use
# threads under ThreadSanitizer and those that read untrusted files under AddressSanitizer
# with UndefinedBehaviorSanitizer (each sanitizer build makes only the tests it runs).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
(cd build && ctest --output-on-failure -j"$(nproc)")

sanitized() { # build dir, sanitizer, test label, runtime option settings (variable=value ...)
  local dir=$1 sanitizer=$2 label=$3
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Debug -DVESK_SANITIZE="$sanitizer" \
    -DVESK_BUILD_BENCH=OFF >/dev/null
  mapfile -t tests < <(cd "$dir" && ctest -N -L "$label" | sed -n 's/^ *Test *#[0-9]*: *//p')
  [ ${#tests[@]} -gt 0 ] || return 0
  cmake --build "$dir" -j"$(nproc)" --target "${tests[@]}"
  (cd "$dir" && env "${@:4}" ctest --output-on-failure -L "$label" -j"$(nproc)")
}
sanitized build-tsan thread threads TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
sanitized build-asan address untrusted ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
  LSAN_OPTIONS=suppressions="$PWD/tests/sanitizers/lsan.supp"
