#!/usr/bin/env bash
# Builds the fuzz targets with clang into build-fuzz/ and runs each one: first over its seeds
# (every seed must pass), then for FUZZ_SECONDS (default 60) of new inputs. The seeds are the
# fixtures of a finished build in build/ and the real-world corpus beside the repository.
# A crash or a hang stops the run with the input saved under build-fuzz/artifacts/; it then
# belongs in tests/fuzz/regressions/ (tests/fuzz/README.md).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-60}
out=build-fuzz
fixtures=build/fixtures
corpus=../shared/corpus

cmake -S . -B "$out" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
  -DCMAKE_CXX_COMPILER=clang++ -DVESK_FUZZ=ON -DVESK_BUILD_TESTS=OFF -DVESK_BUILD_BENCH=OFF \
  -DVESK_BUILD_GUI=OFF >/dev/null
cmake --build "$out" -j"$(nproc)" --target fuzz-document fuzz-certificate fuzz-cjk-fonts

# Seeds of one target: PDF files from the given folders, each no larger than 1 MiB.
seeds() {
  local dir="$out/seeds/$1"
  shift
  rm -rf "$dir" && mkdir -p "$dir"
  find "$@" -maxdepth 1 -name '*.pdf' -size -1024k -exec cp -t "$dir" {} + 2>/dev/null || true
  echo "$dir"
}

# A certificate database holding alice's key, for the certificate route to find.
home="$out/home"
rm -rf "$home"
sh tests/pubsec/make-nssdb.sh "$PWD/$home" "" "$fixtures/pubsec/alice.p12" "" >/dev/null
export VESK_FUZZ_HOME="$PWD/$home"
cat tests/sanitizers/lsan.supp tests/fuzz/lsan-fuzz.supp >"$out/lsan.supp"
export LSAN_OPTIONS=suppressions="$PWD/$out/lsan.supp"
export ASAN_OPTIONS=fast_unwind_on_malloc=0

run() { # target, seed folder
  local target=$1 seedDir=$2 work="$out/corpus/$1" log="$out/$1.log"
  mkdir -p "$work" "$out/artifacts"
  local options=(-dict=tests/fuzz/pdf.dict -timeout=25 -rss_limit_mb=3072 -detect_leaks=0
    -max_len=65536 -artifact_prefix="$out/artifacts/$target-" -print_final_stats=1)
  echo "== $target: $(ls "$seedDir" | wc -l) seeds, then ${seconds}s"
  if ! "$out/bin/fuzz-$target" "${options[@]}" -runs=0 "$seedDir" >"$log" 2>&1 ||
    ! "$out/bin/fuzz-$target" "${options[@]}" -max_total_time="$seconds" "$work" "$seedDir" \
      >>"$log" 2>&1; then
    tail -40 "$log"
    return 1
  fi
  grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|INFO: Done)' "$log"
}

status=0
run document "$(seeds document "$fixtures" "$fixtures/hostile" "$corpus")" || status=1
run certificate "$(seeds certificate "$fixtures/pubsec")" || status=1
run cjk-fonts "$(seeds cjk-fonts "$fixtures/cjk" "$fixtures")" || status=1
exit $status
