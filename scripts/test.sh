#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite; then the tests that use
# threads under ThreadSanitizer and those that read untrusted files under AddressSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
(cd build && ctest --output-on-failure -j"$(nproc)")

VESK_BUILD_DIR=build-tsan VESK_BUILD_TYPE=Debug scripts/build.sh -DVESK_SANITIZE=thread \
  -DVESK_BUILD_BENCH=OFF
(cd build-tsan && TSAN_OPTIONS=halt_on_error=1 ctest --output-on-failure -L threads -j"$(nproc)")

VESK_BUILD_DIR=build-asan VESK_BUILD_TYPE=Debug scripts/build.sh -DVESK_SANITIZE=address \
  -DVESK_BUILD_BENCH=OFF
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -L untrusted -j"$(nproc)")
