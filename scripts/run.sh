#!/usr/bin/env bash
# Installs what is missing, builds, and starts the reader on the bundled sample (or the file
# given). build/bin/vesk-engine-smoke FILE shows what the engine makes of a file without a display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
exec build/bin/VeskPDFReader "${1:-res/sample/sample.pdf}"
