#!/usr/bin/env bash
# Installs the player's Debian package for real, as a user would (apt install
# ./kivoplay_*.deb), starts it N times (5) from its menu entry's command against the
# demo server on a private Xvfb display, each time with a new home, and times
# launch -> main window mapped; beside it the same for build/bin/kivoplay. Then
# purges the package. Needs root (or sudo) and a kivoplay not installed otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-5}"
SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
if dpkg-query -W -f='${Status}' kivoplay 2>/dev/null | grep -q 'install ok installed'; then
  echo "deb-install: kivoplay is installed already; purge it first" >&2
  exit 1
fi
bash scripts/install-deps.sh
bash scripts/build.sh default >/dev/null
bash scripts/make-demo-media.sh build/demo-media >/dev/null

work="$(mktemp -d)"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  if dpkg-query -W -f='${Status}' kivoplay 2>/dev/null | grep -q 'install ok installed'; then
    $SUDO apt-get purge -y -qq kivoplay >/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

cpack --config build/CPackConfig.cmake -B "$work/out" >/dev/null
deb="$(ls "$work"/out/kivoplay_*.deb)"
echo "deb-install package: ${deb##*/} $(($(stat -c %s "$deb") / 1024)) KiB"

now_ms() { echo $(($(date +%s%N) / 1000000)); }

t0=$(now_ms)
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
echo "deb-install apt install: $(($(now_ms) - t0)) ms"
echo "deb-install installed size: $(dpkg-query -W -f='${Installed-Size}' kivoplay) KiB"

# The menu entry's command, its field codes dropped (no files given).
exec_line="$(sed -n 's/^Exec=//p' /usr/share/applications/kivoplay.desktop | sed 's/ %[fFuU]//g')"
echo "deb-install menu command: $exec_line"

# The installed settings name the demo server's default port.
build/tools/kivodemo --port 8731 --media build/demo-media >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do curl -s -o /dev/null http://127.0.0.1:8731/ && break; sleep 0.05; done

display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
sleep 1
export DISPLAY="$display" QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR="$work/run"; mkdir -p "$XDG_RUNTIME_DIR"; chmod 700 "$XDG_RUNTIME_DIR"

# Launch -> a visible window of the process, in ms; checks the library's place.
time_map() { # command, where the library must appear (relative to the home, or absolute)
  local home="$work/home-$RANDOM$RANDOM"; mkdir -p "$home"
  local start; start=$(now_ms)
  HOME="$home" XDG_DATA_HOME="$home/.local/share" XDG_CONFIG_HOME="$home/.config" $1 >/dev/null 2>&1 &
  local pid=$! mapped=""
  while [ $(($(now_ms) - start)) -lt 20000 ]; do
    if xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1; then mapped=$(($(now_ms) - start)); break; fi
    sleep 0.005
  done
  sleep 0.3
  kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true
  local library="$2"; [ "${library#/}" = "$library" ] && library="$home/$library"
  [ -f "$library" ] || { echo "deb-install: no library at $library" >&2; mapped=""; }
  echo "${mapped:-fail}"
}

median() { tr ' ' '\n' | grep -v '^$' | sort -n | awk '{a[NR]=$1} END {print (NR ? a[int((NR + 1) / 2)] : "fail")}'; }

installed=() built=()
for _ in $(seq "$runs"); do
  installed+=("$(time_map "$exec_line" .local/share/kivoplay/kx.dat)")
  built+=("$(time_map "$PWD/build/bin/kivoplay" "$PWD/build/bin/data/kx.dat")")
done
echo "deb-install window mapped from the menu command, ms: ${installed[*]} (median $(echo "${installed[*]}" | median))"
echo "deb-install reference build/bin/kivoplay, ms: ${built[*]} (median $(echo "${built[*]}" | median))"

t0=$(now_ms)
$SUDO apt-get purge -y -qq kivoplay >/dev/null
echo "deb-install apt purge: $(($(now_ms) - t0)) ms"
[ ! -e /usr/bin/kivoplay ] && [ ! -e /usr/lib/kivoplay ] && echo "deb-install purged: nothing left in /usr/bin, /usr/lib/kivoplay"
