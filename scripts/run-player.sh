#!/usr/bin/env bash
# The run command: installs what is missing, builds, generates the demo media,
# starts the demo server on 127.0.0.1 and launches kivoplay against it.
# With no display the player runs under Xvfb; once its start-up sequence has run
# a screenshot of the main window is saved and its path printed.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
port=8731
bash scripts/install-deps.sh
bash scripts/build.sh default
[ -x scripts/make-demo-media.sh ] && bash scripts/make-demo-media.sh build/demo-media

export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"; chmod 700 "$XDG_RUNTIME_DIR" 2>/dev/null || true
export QTWEBENGINE_DISABLE_SANDBOX=1

pids=()
cleanup() { for p in "${pids[@]}"; do pkill -TERM -P "$p" 2>/dev/null || true; kill "$p" 2>/dev/null || true; done; }
trap cleanup EXIT

# The demo server, unless one already answers on the port.
if ! curl -s -o /dev/null "http://127.0.0.1:$port/dl.asp"; then
  build/tools/kivodemo --port "$port" --media "$root/build/demo-media" > build/kivodemo.log 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do curl -s -o /dev/null "http://127.0.0.1:$port/dl.asp" && break; sleep 0.1; done
fi
curl -s -d '' "http://127.0.0.1:$port/__demo/log/clear" >/dev/null || true

if [ -n "${DISPLAY:-}" ]; then
  echo "kivoplay runs against the demo server at http://127.0.0.1:$port/ (close it to stop the server)"
  build/bin/kivoplay
  exit 0
fi

# No display: a private X server, the player on it, and a screenshot once start-up has run.
display=":$(( (RANDOM % 400) + 100 ))"
Xvfb "$display" -screen 0 1280x900x24 -nolisten tcp > /dev/null 2>&1 &
pids+=($!)
export DISPLAY="$display"
for _ in $(seq 50); do xdpyinfo > /dev/null 2>&1 && break; sleep 0.1; done
# A private session bus that ends with the player (media keys, MPRIS).
dbus-run-session -- build/bin/kivoplay > build/kivoplay.log 2>&1 &
pids+=($!)
# The start-up sequence ends by loading the news pane "webggt.asp"; wait for it (or
# for the start-up page plus a moment, where no web engine is present), 30 s at most.
for i in $(seq 300); do
  log="$(curl -s "http://127.0.0.1:$port/__demo/log" || true)"
  if grep -q 'webggt.asp' <<<"$log"; then sleep 1; break; fi
  if grep -q 'dl.asp' <<<"$log" && [ "$i" -gt 40 ]; then break; fi
  sleep 0.1
done
sleep 1
mkdir -p build/screenshots
shot="$root/build/screenshots/kivoplay.png"
win="$(xdotool search --onlyvisible --name 'Kivo' 2>/dev/null | head -1 || true)"
if [ -n "$win" ]; then
  /usr/bin/import -window "$win" "$shot"
else
  /usr/bin/import -window root "$shot"
fi
echo "Start-up requests seen by the demo server:"
curl -s "http://127.0.0.1:$port/__demo/log" | sed 's/^/  /' || true
echo "Screenshot of the main window: $shot"
