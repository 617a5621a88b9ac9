#!/bin/sh
# The plug-in's item dialog on a virtual screen (Xvfb, Wine's x11 driver in
# a prefix of its own), saved as a picture for a person to look at.
#   item-dialog-screenshot.sh SOURCE BUILD SHOT.exe PINDREL.dll FELDANE.dll
set -eu
source=$1 build=$2 shot=$3 pindrel=$4 feldane=$5
prefix=$build/plugins/filesync/tests/x11-prefix
out=$build/screenshots
mkdir -p "$out"
"$source/tools/wine-prefix" "$prefix"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export XDG_DATA_HOME="$prefix/xdg-data" XDG_CONFIG_HOME="$prefix/xdg-config"
unset VORLAN_MESSAGEBOX_ANSWER
xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
    wine reg add "HKCU\\Software\\Wine\\Drivers" /v Graphics /d x11 /f >/dev/null 2>&1
    # No window manager runs on the virtual screen: Wine draws the frames.
    wine reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f >/dev/null 2>&1
    wine regsvr32 /s "$1" && wine regsvr32 /s "$2" &&
    wine "$3" "$(winepath -w "$4")"
    status=$?
    wineserver -k
    exit $status' sh "$pindrel" "$feldane" "$shot" "$out/feldane-item-dialog.bmp"
convert "$out/feldane-item-dialog.bmp" -alpha off "$out/feldane-item-dialog.png"
rm -f "$out/feldane-item-dialog.bmp"
echo "screenshot: $out/feldane-item-dialog.png"
