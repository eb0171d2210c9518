#!/bin/sh
# A fresh Wine prefix for the suite, in a temporary folder.
#   wine_prefix.sh setup <path file>    creates it, writes its folder into <path file>
#   wine_prefix.sh cleanup <path file>  stops its wineserver and removes it
# Wine's own Tahoma (Debian package fonts-wine) is put into the prefix so
# that GDI+ has its generic sans-serif family; Arial is deliberately absent.
set -eu
action=$1
pathfile=$2
unset DISPLAY WAYLAND_DISPLAY
export WINEDEBUG=-all
case "$action" in
setup)
    if [ -f "$pathfile" ]; then
        "$0" cleanup "$pathfile" || true
    fi
    prefix=$(mktemp -d "${TMPDIR:-/tmp}/cs-wine-prefix.XXXXXX")
    export WINEPREFIX="$prefix/pfx"
    # A 32-bit prefix: the module is a 32-bit DLL.
    WINEARCH=win32 wineboot --init >/dev/null 2>&1 || { echo "wineboot failed"; exit 1; }
    wineserver -w
    fonts="$WINEPREFIX/drive_c/windows/Fonts"
    mkdir -p "$fonts"
    for font in tahoma.ttf tahomabd.ttf; do
        if [ -f "/usr/share/wine/fonts/$font" ]; then
            cp "/usr/share/wine/fonts/$font" "$fonts/"
        fi
    done
    if [ -e "$fonts/arial.ttf" ]; then
        echo "the fresh prefix unexpectedly has Arial"
        exit 1
    fi
    echo "$WINEPREFIX" >"$pathfile"
    echo "Wine prefix $WINEPREFIX ($(wine --version))"
    ;;
cleanup)
    if [ -f "$pathfile" ]; then
        WINEPREFIX=$(cat "$pathfile")
        export WINEPREFIX
        wineserver -k 2>/dev/null || true
        case "$WINEPREFIX" in
        */cs-wine-prefix.*/pfx) rm -rf "$(dirname "$WINEPREFIX")" ;;
        esac
        rm -f "$pathfile"
    fi
    ;;
*)
    echo "usage: $0 setup|cleanup <path file>"
    exit 2
    ;;
esac
