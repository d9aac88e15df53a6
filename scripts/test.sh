#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite, the reader's check on a
# desktop and the sweep of the real-world corpus; then every test program again under
# AddressSanitizer with UndefinedBehaviorSanitizer, the tests that use threads under
# ThreadSanitizer, and each fuzz target over its seeds and for a bounded time (scripts/fuzz.sh).
# Every phase prints how long it took.
set -euo pipefail
cd "$(dirname "$0")/.."

phase() { # name, command...
  local name=$1 start=$SECONDS
  shift
  "$@"
  echo "phase $name: $((SECONDS - start)) s"
}

tests() { # build dir, test label or "" for every test, runtime option settings...
  local dir=$1 label=$2
  (cd "$dir" && env "${@:3}" ctest --output-on-failure ${label:+-L "$label"} -j"$(nproc)")
}

# Without a label everything is built and every test runs; with one, only its tests' programs.
sanitized() { # build dir, sanitizer, test label or "", runtime option settings...
  local dir=$1 sanitizer=$2 label=$3
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Debug -DVESK_SANITIZE="$sanitizer" \
    -DVESK_BUILD_BENCH=OFF >/dev/null
  local targets=()
  if [ -n "$label" ]; then
    mapfile -t targets < <(cd "$dir" && ctest -N -L "$label" | sed -n 's/^ *Test *#[0-9]*: *//p')
    [ ${#targets[@]} -gt 0 ] || return 0
    targets=(--target "${targets[@]}")
  fi
  cmake --build "$dir" -j"$(nproc)" "${targets[@]}"
  tests "$dir" "$label" "${@:4}"
}

phase install scripts/install-deps.sh
phase build scripts/build.sh
phase tests tests build ""
# The reader itself on a desktop of its own (Xvfb and openbox), driven by key presses.
phase desktop tests/desktop/reading-view-check.sh build
if [ -d ../shared/corpus ]; then
  phase sweep build/bin/vesk-sweep --timeout 120 ../shared/corpus
fi
phase asan sanitized build-asan address "" ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
  LSAN_OPTIONS=suppressions="$PWD/tests/sanitizers/lsan.supp"
phase tsan sanitized build-tsan thread threads \
  TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
phase fuzz scripts/fuzz.sh
