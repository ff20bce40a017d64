#!/usr/bin/env bash
# Draws the program icon (an envelope with a red "stop" badge) at 16, 32 and
# 48 pixels and packs the sizes into Velkor.ico. Run by hand after changing it;
# the .ico is kept in the repository so a build needs no ImageMagick.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
draw() {  # size
  local s=$1
  local f
  f=$(awk -v s="$s" 'BEGIN{print s/32}')
  local p
  p() { awk -v f="$f" -v v="$1" 'BEGIN{printf "%d", v*f+0.5}'; }
  convert -size "${s}x${s}" xc:none \
    -stroke '#1f4e9c' -strokewidth "$(awk -v f="$f" 'BEGIN{w=1.5*f; if(w<1)w=1; print w}')" -fill '#f4f7ff' \
    -draw "rectangle $(p 2),$(p 7) $(p 27),$(p 25)" \
    -fill none -draw "polyline $(p 2),$(p 7) $(p 14.5),$(p 17) $(p 27),$(p 7)" \
    -stroke '#8a0000' -fill '#d81e1e' -strokewidth 1 \
    -draw "circle $(p 24),$(p 23) $(p 24),$(p 15.5)" \
    -stroke white -strokewidth "$(awk -v f="$f" 'BEGIN{w=2.2*f; if(w<1)w=1; print w}')" \
    -draw "line $(p 20),$(p 23) $(p 28),$(p 23)" \
    "$tmp/icon-$s.png"
}
for s in 16 32 48; do draw $s; done
convert "$tmp/icon-16.png" "$tmp/icon-32.png" "$tmp/icon-48.png" Velkor.ico
