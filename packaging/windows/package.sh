#!/usr/bin/env bash
# The Windows program as it is handed out, from a Windows build: the zip and the installer,
# their binaries and the installer signed when a certificate is given (see sign.sh).
#
#   package.sh BUILD_DIR   ->  BUILD_DIR/Ostrel-<version>-win64.zip and .msi
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bash "$here/stage.sh" "$1"
bash "$here/make_zip.sh" "$1"
bash "$here/make_msi.sh" "$1"
