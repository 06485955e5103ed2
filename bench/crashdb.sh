#!/usr/bin/env bash
# Crash trials of the library at full count (100 unless a count is given): a
# program writing history and playlists the way the player does is killed with
# SIGKILL at random moments; after each kill the library must open, pass
# SQLite's integrity check and hold no song without its day or its playlist.
# Prints the trials, how many kills came during a write, and the failures.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh default >/dev/null
cmake --build build --target test_library_librarycrash >/dev/null
export KIVO_CRASH_TRIALS="${1:-100}" QT_QPA_PLATFORM=offscreen
log="$(mktemp)"
status=0
start=$(date +%s)
build/tests/test_library_librarycrash > "$log" 2>&1 || status=1
grep -E 'trials|FAIL|Totals' "$log" | sed 's/^QINFO *: //'
echo "crashdb took $(( $(date +%s) - start )) s"
rm -f "$log"
exit $status
