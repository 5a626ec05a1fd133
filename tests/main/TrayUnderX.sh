#!/usr/bin/env bash
# The program's tray icon in a real notification area: Xvfb, the openbox window manager and the
# trayer panel (an XEmbed tray host). After the window is minimised to the tray, the icon is still
# there at full size, and a real click on it brings the window back.
#   TrayUnderX.sh <tarvesk executable> <work directory>
set -euo pipefail
program=$1
work=$2
for tool in Xvfb openbox trayer xdotool xwininfo; do
    command -v "$tool" >/dev/null || { echo "$tool is not installed (scripts/setup.sh installs it)"; exit 1; }
done

rm -rf "$work"
mkdir -p "$work/prog" "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
cp "$program" "$work/prog/tarvesk"
pids=()
cleanup() { kill "${pids[@]}" 2>/dev/null || true; wait 2>/dev/null || true; }
trap cleanup EXIT

# Xvfb picks a free display and writes its number.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 300); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=":$(cat "$work/display")"
openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
trayer --edge bottom --SetDockType true --widthtype request --height 24 >"$work/trayer.log" 2>&1 &
pids+=($!)

# Waits up to 30 s for a command to succeed.
until_true() {
    for _ in $(seq 300); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}
panel() { xwininfo -root -tree | grep -m1 '"panel": ("panel" "trayer")' | awk '{print $1}'; }
has_panel() { [ -n "$(panel)" ]; }
until_true has_panel || { echo "no trayer panel"; exit 1; }

# A runtime directory of its own: one instance per user, and this is another "user".
HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" WINEPREFIX="$work/no-prefix" QT_QPA_PLATFORM=xcb "$work/prog/tarvesk" >"$work/tarvesk.log" 2>&1 &
pids+=($!)

# The main window: the program's visible window wider than the icon.
main_window() {
    local w
    for w in $(xdotool search --onlyvisible --classname tarvesk 2>/dev/null || true); do
        if [ "$(xwininfo -id "$w" | awk '/Width:/ {print $2}')" -gt 100 ]; then
            echo "$w"
            return 0
        fi
    done
}
# The icon: the program's window inside trayer's panel, with its size.
icon() { xwininfo -id "$(panel)" -tree | grep '("tarvesk" "Tarvesk")' | head -1 || true; }
mapped() { xwininfo -id "$1" | grep -q 'Map State: IsViewable'; }
icon_size_ok() {
    local geometry
    geometry=$(icon | grep -oE '[0-9]+x[0-9]+\+' | head -1 | tr -d +)
    [ -n "$geometry" ] && [ "${geometry%x*}" -ge 16 ] && [ "${geometry#*x}" -ge 16 ]
}

has_main_window() { [ -n "$(main_window)" ]; }
until_true has_main_window || { echo "the main window did not show"; cat "$work/tarvesk.log"; exit 1; }
window=$(main_window)
until_true icon_size_ok || { echo "no tray icon: $(icon)"; exit 1; }

xdotool windowminimize "$window"
unmapped() { ! mapped "$1"; }
until_true unmapped "$window" || { echo "not minimised"; exit 1; }
sleep 0.5
if ! icon_size_ok; then
    echo "after minimising, the tray icon is gone or shrunk: $(icon)"
    exit 1
fi

# A real click on the icon (a single click restores after the double-click time).
read -r x y < <(xwininfo -id "$(icon | awk '{print $1}')" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} END {print x+8, y+8}')
xdotool mousemove "$x" "$y" click 1
if ! until_true mapped "$window"; then
    echo "a click on the tray icon did not restore the window"
    exit 1
fi
echo "minimised to the tray, icon kept, restored by a click on it"
