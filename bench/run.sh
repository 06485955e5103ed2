#!/usr/bin/env bash
# Builds and runs every benchmark; each prints one line per figure.
# The reference player for the start-up comparison is installed on demand.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
dpkg-query -W -f='${Status}' qmmp 2>/dev/null | grep -q 'install ok installed' \
  || { apt-get install -y -qq --no-install-recommends qmmp >/dev/null || true; }
bash scripts/build.sh default >/dev/null
bash scripts/make-demo-media.sh build/demo-media >/dev/null
export XDG_RUNTIME_DIR="$(mktemp -d)"; chmod 700 "$XDG_RUNTIME_DIR"
export QTWEBENGINE_DISABLE_SANDBOX=1
only="${1:-}"
for b in build/bench/bench_*; do
  name="${b##*/bench_}"
  [ -n "$only" ] && [ "$name" != "$only" ] && continue
  if [ "$name" = startup ]; then
    xvfb-run -a -s "-screen 0 1280x1024x24" "$b"
  else
    QT_QPA_PLATFORM=offscreen "$b"
  fi
done
