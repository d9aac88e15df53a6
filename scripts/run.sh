#!/usr/bin/env bash
# Installs what is missing, builds, and starts on the bundled sample (or the file given).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
exec build/bin/vesk-engine-smoke "${1:-res/sample/sample.pdf}"
