#!/usr/bin/env bash
# Makes the Debian packages in a build folder for the package tests that follow.
set -euo pipefail
cd "$1"
rm -f ostrel_*.deb ostrel-dbgsym_*.ddeb
cpack -G DEB >/dev/null
ls ostrel_*_*.deb ostrel-dbgsym_*_*.ddeb
