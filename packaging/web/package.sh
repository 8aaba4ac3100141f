#!/usr/bin/env bash
# The page as it is handed out, from a web build: the folder build-web/site, ready for any static
# host, and the same folder zipped.
#
#   package.sh BUILD_DIR ICON_DIR   ->  BUILD_DIR/site and BUILD_DIR/Ostrel-<version>-web.zip
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bash "$here/stage.sh" "$1" "$2"
bash "$here/make_zip.sh" "$1"
