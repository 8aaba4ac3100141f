#!/usr/bin/env bash
# The web page's tests in Debian's Chromium, headless: the end-to-end cases by keys and clicks,
# the about window, the range message, Paste, an offline start and the Linux screenshot.
# Ends with "N passed, N failed"; non-zero when a test failed.
#
#   run_web_tests.sh SITE_DIR        (the folder with index.html; needs chromium, node, npm;
#                                     OSTREL_CHROMIUM names another Chromium)
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
site=$(cd "${1:?usage: run_web_tests.sh SITE_DIR}" 2>/dev/null && pwd) && [ -f "$site/index.html" ] \
    || { echo "no index.html in $1"; echo "0 passed, 1 failed"; exit 1; }
[ -x "${OSTREL_CHROMIUM:-/usr/bin/chromium}" ] \
    || { echo "no ${OSTREL_CHROMIUM:-/usr/bin/chromium}"; echo "0 passed, 1 failed"; exit 1; }
if [ ! -d "$here/node_modules/puppeteer-core" ]; then
    (cd "$here" && npm ci --no-audit --no-fund --loglevel=error) \
        || { echo "npm ci failed"; echo "0 passed, 1 failed"; exit 1; }
fi
node "$here/web_tests.mjs" "$site"
status=$?
# A crash before the count still fails, with a count of its own.
[ "$status" -le 1 ] || echo "0 passed, 1 failed"
exit "$status"
