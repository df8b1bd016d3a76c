#!/usr/bin/env bash
# What `make run` starts. Until the game exists it shows the error lookup tool on a few codes.
set -euo pipefail
build=${1:-build}
"$build/errlookup" 0 0x80004005 0x88780096 0x88780064 -2147024809
