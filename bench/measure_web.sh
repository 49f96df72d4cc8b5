#!/usr/bin/env bash
# Figures of the web build beside the native programs': the site's download, its load to the
# first frame, and frames per second in headless Chromium (SwiftShader) against demo and demo-hd
# under Xvfb (llvmpipe), each for the same first seconds of the show.
# Usage: bench/measure_web.sh <run dir> <site dir> [seconds per program, default 20]
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
RUN_DIR=$(cd "${1:?usage: $0 <run dir> <site dir> [seconds]}" && pwd)
SITE=$(cd "${2:?usage: $0 <run dir> <site dir> [seconds]}" && pwd)
RUN_SECONDS=${3:-20}
CHECKS=$(dirname "$RUN_DIR")/web/checks   # the browser checks' folder, with puppeteer-core

bash "$ROOT/tests/web/prepare_checks.sh" "$CHECKS" >/dev/null
echo "== web build in headless Chromium (SwiftShader)"
node "$CHECKS/web_figures.mjs" "$SITE" "$RUN_SECONDS"
echo "== native programs under Xvfb (llvmpipe)"
bash "$ROOT/bench/measure_program.sh" "$RUN_DIR" "$RUN_SECONDS"
