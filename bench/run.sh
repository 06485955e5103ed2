#!/usr/bin/env bash
# Builds and runs every benchmark program (or the one named) on one private X
# display; each prints one line per figure, most with the reference measured in the
# same run:  <bench> <figure>: <value> <unit> (<reference> <value> <unit>, ratio <r>, goal <g>)
# At the end a summary table: figure, value, reference, ratio, goal.
# The reference players (qmmp for start-up and memory) are installed on demand.
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
out="$(mktemp)"
programs=()
for b in build/bench/bench_*; do
  # Only programs: the build leaves folders (e.g. *_autogen) beside them.
  [ -f "$b" ] && [ -x "$b" ] || continue
  name="${b##*/bench_}"
  [ -n "$only" ] && [ "$name" != "$only" ] && continue
  programs+=("$b")
done
# One X server for all of them: the ones that drive the real player or mpv need a display.
cat > "$out.sh" <<'INNER'
#!/usr/bin/env bash
for b in "$@"; do
  name="${b##*/bench_}"
  echo "== $name" >&2
  "$b" || echo "$name error: exit $?"
done
INNER
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$out.sh" "${programs[@]}" 2>/dev/null | tee "$out"

echo
printf '%-42s %-16s %-28s %-8s %s\n' figure value reference ratio goal
printf '%-42s %-16s %-28s %-8s %s\n' ------ ----- --------- ----- ----
sed -nE 's/^([a-z_]+ [a-z0-9_]+): ([^(]+)\((.*), ratio ([0-9.]+), goal ([^)]*)\)$/\1|\2|\3|\4|\5/p;
         t; s/^([a-z_]+ [a-z0-9_]+): ([^(]+)\(goal ([^)]*)\)$/\1|\2|-|-|\3/p;
         t; s/^([a-z_]+ [a-z0-9_]+): (.*)$/\1|\2|-|-|-/p' "$out" \
  | while IFS='|' read -r figure value reference ratio goal; do
      printf '%-42s %-16s %-28s %-8s %s\n' "$figure" "${value% }" "$reference" "$ratio" "$goal"
    done
rm -f "$out" "$out.sh"
