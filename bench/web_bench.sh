#!/usr/bin/env bash
# Size and first draw of the web page: ostrel.wasm raw and gzipped, and the time from navigation
# to the first WebGL draw in headless Chromium, the page served from 127.0.0.1 by Python's
# http.server, each run in a fresh profile (nothing cached): in a browser left to settle first,
# and in one just started. Figures, not a test.
#
#   bash packaging/build.sh web && bash bench/web_bench.sh [SITE_DIR] [RUNS]
# SITE_DIR defaults to build-web/site, RUNS to 5 (the median is printed). puppeteer-core comes
# from tests/web's lock file (npm ci there, once).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
site=$(cd "${1:-$here/build-web/site}" && pwd)
runs=${2:-5}

wasm=$site/ostrel.wasm
raw=$(stat -c %s "$wasm")
gz=$(gzip -9 -n -c "$wasm" | wc -c)
js=$(stat -c %s "$site/ostrel.js")
awk -v raw="$raw" -v gz="$gz" -v js="$js" 'BEGIN {
    printf "ostrel.wasm  %.2f MB raw, %.2f MB gzipped (-9)\n", raw / 1e6, gz / 1e6
    printf "ostrel.js    %.0f KB raw\n", js / 1e3 }'

[ -d "$here/tests/web/node_modules/puppeteer-core" ] \
    || (cd "$here/tests/web" && npm ci --no-audit --no-fund --loglevel=error)
node "$here/bench/web_first_draw.mjs" "$site" "$runs"
