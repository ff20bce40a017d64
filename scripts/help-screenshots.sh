#!/usr/bin/env bash
# Makes the screenshots of the help (docs/help/images) from the real programs
# under Wine on the demo data, prepared as scripts/demo.sh prepares it, and
# the two rule-tester pictures of docs/screenshots. Run by hand after a window
# changes; see docs/help-screenshots.md. Windows are driven with xdotool
# (keys and clicks as a user gives them); each picture is the window alone,
# reduced to 256 colours.
#
#   scripts/help-screenshots.sh [DISPLAY]     (default :15, an Xvfb of its own)
set -euo pipefail
export VELKOR_WINEPREFIX=${VELKOR_WINEPREFIX:-$(cd "$(dirname "$0")/.." && pwd)/build/help-prefix}
source "$(dirname "$0")/env.sh"
cd "$VELKOR_ROOT"
# The help viewer draws its pages with mshtml, which the tests keep disabled.
export WINEDLLOVERRIDES="mscoree="
display=${1:-:15}
images=docs/help/images
mkdir -p "$images" docs/screenshots

win=$VELKOR_WIN_BUILD
cmake -S . -B "$win" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$VELKOR_WIN_TOOLCHAIN" >/dev/null
ninja -C "$win" Velkor TarnWABSync velkor-wab ngtool_timing velkor_help >/dev/null
bin=$win/bin

Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
cleanup() {
  wineserver -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
sleep 1

# The demo prefix, as scripts/demo.sh makes it.
[ -d "$VELKOR_TEST_PREFIX" ] || VELKOR_WINEPREFIX=$VELKOR_TEST_PREFIX scripts/setup.sh --prefix
velkor_make_demo_prefix "$bin"

# A spam mail as Outlook Express saves it: from a spam sender the [BLOCK]
# template below is given, subject and body with the demo's keywords.
mail=$WINEPREFIX/drive_c/spam.eml
printf '%s\r\n' "From: info@deai-support.example.com" "To: hanako@example.ne.jp" \
  "Subject: =?ISO-2022-JP?B?GyRCTCQ+NUJ6OS05cCIoGyhCIBskQkFHRSgkSj1QMnEkJCRyJCpMc0IrGyhC?=" \
  "MIME-Version: 1.0" "Content-Type: text/plain; charset=ISO-2022-JP" "Content-Transfer-Encoding: base64" "" \
  "GyRCOiMkOSQwJS8laiVDJS8kNyRGTDVOQUVQTz8hKhsoQg0K" >"$mail"

# The X window of the top-level window titled (a pattern of) $1.
wait_window() {
  local id
  for _ in $(seq 1 60); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -1 || true)
    if [ -n "$id" ]; then
      sleep 1.5
      echo "$id"
      return 0
    fi
    sleep 0.5
  done
  echo "no window '$1'" >&2
  return 1
}

shot() {
  import -display "$DISPLAY" -window "$1" png:- | convert - -colors 256 "PNG8:$images/$2.png"
  echo "$images/$2.png"
}

# A click at dialog units (x, y) of dialog $1 whose template is $2 x $3 units
# wide and high: the client area is the window less its frame and caption.
click_at() {
  local id=$1 x=$4 y=$5 w h
  eval "$(xdotool getwindowgeometry --shell "$id")"
  w=$WIDTH h=$HEIGHT
  local cw=$((w - 6)) ch=$((h - 26))
  xdotool mousemove --window "$id" $((3 + x * cw / $2)) $((23 + y * ch / $3)) click 1
  sleep 0.7
}

keys() {
  xdotool key --delay 150 "$@"
  sleep 0.7
}

# The editor on the demo identity: the keyword rule selected, then its body
# words; the actions of the rule that files mail magazines.
wine "$bin/Velkor.exe" &
main=$(wait_window "^Velkor Ver 1.0$")
click_at "$main" 620 402 180 150
keys Home Down Down
shot "$main" main
click_at "$main" 620 402 50 200
keys Home Down Down
shot "$main" criteria
click_at "$main" 620 402 180 150
keys Home Down Down Down
click_at "$main" 620 402 360 200
keys Home
shot "$main" actions


# The template dialog from the rule list's menu, and the two dialogs of the
# personal safe lists behind its first two rows.
# The new rule goes where the selected one is: $1 rows down from the top.
template_dialog() {
  click_at "$main" 620 402 180 150
  keys Home
  for _ in $(seq 1 "${1:-0}"); do keys Down; done
  keys shift+F10 Down Down Return
  wait_window "既定のメールルールの作成"
}
dialog=$(template_dialog)
keys Home
shot "$dialog" templates
keys Return
dialog=$(wait_window "本文に自分の個人情報が含まれる場合")
shot "$dialog" personal
keys Escape
dialog=$(template_dialog)
keys Home Down Return
dialog=$(wait_window "宛先または CC に自分の名前が含まれる場合")
shot "$dialog" ownname
keys Escape

# "[BLOCK]送信者に禁止したメールアドレスを含む場合" below the two [SAFE] rules
# of the demo, with the spam sender's domain typed into its word list.
dialog=$(template_dialog 2)
keys Home Down Down Down Down Down Return
sleep 1
keys Return  # the message that tells how to fill the new rule
click_at "$main" 620 402 50 200
keys Home
click_at "$main" 620 402 200 300
keys Insert
xdotool type --delay 60 "deai-support.example.com"
keys Return

# Find, from the blocked senders.
click_at "$main" 620 402 480 150
keys ctrl+f
dialog=$(wait_window "^検索$")
xdotool type --delay 60 "spam.example"
shot "$dialog" find
keys Escape

# The address-book picker from the sender words.
click_at "$main" 620 402 50 200
keys Home
click_at "$main" 620 402 200 300
keys shift+F10 Down Down Return
dialog=$(wait_window "^アドレス帳$")
shot "$dialog" picker
keys Escape

# The rule tester: the spam mail opened from its file dialog, then the same
# mail after the rule that caught it is unticked in the main window.
click_at "$main" 620 402 180 150
keys shift+F10 Up Return
tester=$(wait_window "^ルールのテスト$")
keys alt+o
dialog=$(wait_window "開く|Open")
xdotool type --delay 40 'C:\spam.eml'
keys Return
sleep 2
shot "$tester" ruletest-block
# The rule list's left part: the tester covers the rest of the window.
click_at "$main" 620 402 60 150
keys Home Down Down space
sleep 1.5
xdotool windowraise "$tester"
sleep 1
shot "$tester" ruletest-unticked
cp "$images/ruletest-block.png" "$images/ruletest-unticked.png" docs/screenshots/

# Save (the button above the tester), which leaves a backup; then restore
# from the rule list's menu (its next-to-last item) lists it.
click_at "$main" 620 402 481 14
sleep 4
click_at "$main" 620 402 60 150
keys shift+F10 Up Up Return
dialog=$(wait_window "バックアップから復元")
shot "$dialog" restore
keys Escape

# F1 in the criteria pane opens the viewer on that pane's page (a picture to
# look at, not one of the help's).
mkdir -p "$VELKOR_BUILD/screenshots"
click_at "$main" 620 402 50 200
keys F1
wait_window "^Velkor ヘルプ$" >/dev/null
sleep 2
import -display "$DISPLAY" -window root "$VELKOR_BUILD/screenshots/help-f1-criteria.png"
wineserver -k 2>/dev/null || true
sleep 1

# The NG-word tool on a short spam mail, as the timing program shows it.
wine "$bin/ngtool_timing.exe" show >/dev/null 2>&1 &
dialog=$(wait_window "NGワード検出ツール")
shot "$dialog" ngword
wineserver -k 2>/dev/null || true
sleep 1

# The sync utility's settings on the demo identities.
wine "$bin/TarnWABSync.exe" &
dialog=$(wait_window "アドレス帳との同期設定")
shot "$dialog" sync
keys F1
viewer=$(wait_window "^Velkor ヘルプ$")
sleep 2
import -display "$DISPLAY" -window root "$VELKOR_BUILD/screenshots/help-f1-sync.png"
wineserver -k 2>/dev/null || true
sleep 1

# The compiled file in the viewer: its first page, and a pane's page.
wine hh.exe "$(winepath -w "$bin/Velkor.chm")" &
viewer=$(wait_window "^Velkor ヘルプ$")
sleep 2
import -display "$DISPLAY" -window root "$VELKOR_BUILD/screenshots/help-viewer.png"
wineserver -k 2>/dev/null || true
sleep 1
wine hh.exe "$(winepath -w "$bin/Velkor.chm")::/criteria.html" &
viewer=$(wait_window "^Velkor ヘルプ$")
sleep 2
import -display "$DISPLAY" -window root "$VELKOR_BUILD/screenshots/help-viewer-criteria.png"
wineserver -k 2>/dev/null || true
ls -l "$images"
