#!/usr/bin/env bash
# Installs what is missing, builds Tickforge and starts the desktop program (it needs
# a graphical desktop session).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
exec ./build/src/app/tickforge "$@"
