#!/usr/bin/env bash
# Makes the README's pictures of the main window (docs/*.png) on a virtual X display,
# so that they show the fonts and window style of a real desktop. Run it again whenever
# the chart's look changes.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build >/dev/null
cmake --build build -j"$(nproc)" --target tickforge_screenshots
mkdir -p docs
xvfb-run -a -s "-screen 0 1280x1024x24" build/tools/screenshots/tickforge_screenshots docs
echo "docs/chart-60-day-candles.png docs/chart-10-year-bars.png"
