#!/usr/bin/env bash
# Kill trials at full count (100 each unless a count is given): transfers and
# updates killed with SIGKILL at random moments must never leave a cut-off file
# under the final name, and always leave a player that starts.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh default >/dev/null
export KIVO_KILL_TRIALS="${1:-100}" QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="$(mktemp -d)"; chmod 700 "$XDG_RUNTIME_DIR"
log="$XDG_RUNTIME_DIR/trials.log"
status=0
for t in transfer_transferkill updater_updaterkill; do
  build/tests/test_$t > "$log" 2>&1 || status=1
  grep -E 'trials|FAIL|Totals' "$log" || true
done
exit $status
