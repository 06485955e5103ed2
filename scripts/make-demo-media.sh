#!/usr/bin/env bash
# Makes the demo server's media in DIR: the catalogue's songs as small MP3 files,
# a 30 s song for the CPU benchmark and three short music videos, all synthesised
# with ffmpeg from the melodies the demo server describes (kivodemo --media-plan).
# Quick when run again: a stamp file records the plan the media were made from.
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${1:?usage: make-demo-media.sh DIR}"
demo="${KIVODEMO:-build/tools/kivodemo}"
[ -x "$demo" ] || { echo "make-demo-media: $demo is missing; build first" >&2; exit 1; }
command -v ffmpeg >/dev/null || { echo "make-demo-media: ffmpeg is missing" >&2; exit 1; }

mkdir -p "$dir/songs" "$dir/mtv"
plan="$("$demo" --media-plan)"
stamp="media-v1 $(printf '%s' "$plan" | sha1sum | cut -d' ' -f1)"
if [ -f "$dir/.stamp" ] && [ "$(cat "$dir/.stamp")" = "$stamp" ]; then
  echo "demo media up to date in $dir"
  exit 0
fi
rm -f "$dir/.stamp"
start=$(date +%s)

make_one() { # path|seconds|kind|expression
  local dir="$1" line="$2"
  local path seconds kind expr
  IFS='|' read -r path seconds kind expr <<<"$line"
  local out="$dir/$path" tmp="$dir/$path.part"
  if [ "$kind" = audio ]; then
    ffmpeg -v error -nostdin -y -f lavfi -i "aevalsrc='$expr':s=16000:d=$seconds" \
      -ac 1 -c:a libmp3lame -b:a 32k -f mp3 "$tmp"
  else
    # A moving colour field of our own over the melody, 160x120 at 12 frames a second.
    ffmpeg -v error -nostdin -y \
      -f lavfi -i "color=c=black:s=160x120:r=12:d=$seconds,geq=r='128+100*sin(X/13+T*2)':g='128+100*sin(Y/11-T*3)':b='128+100*sin((X+Y)/17+T)'" \
      -f lavfi -i "aevalsrc='$expr':s=16000:d=$seconds" \
      -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -b:a 48k -ac 1 -shortest -f mp4 "$tmp"
  fi
  mv "$tmp" "$out"
}
export -f make_one

printf '%s\n' "$plan" | grep -v '^$' | xargs -d '\n' -P "$(nproc)" -I{} bash -c 'make_one "$0" "$1"' "$dir" {}

echo "$stamp" > "$dir/.stamp"
echo "demo media made in $dir in $(( $(date +%s) - start )) s"
