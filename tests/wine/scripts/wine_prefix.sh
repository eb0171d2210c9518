#!/bin/sh
# A fresh Wine prefix for the suite, in a temporary folder.
#   wine_prefix.sh setup <path file> <probe file>
#       creates it, writes its folder into <path file>; when the probe found
#       that this machine cannot run 32-bit programs, writes the probe's line
#       into <path file> instead and exits 77 (skipped), so that every program
#       run through wine_run.sh is skipped with the same reason
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
    probe=$3
    [ -f "$probe" ] || { echo "no probe result in $probe: the test wine.probe did not run"; exit 1; }
    case "$(cat "$probe")" in
    "cannot run 32-bit programs"*)
        cat "$probe" >"$pathfile"
        echo "SKIPPED: this machine cannot execute 32-bit programs, so ContactScope.dll was not run under Wine"
        exit 77
        ;;
    "can run 32-bit programs"*) ;;
    *) echo "the Wine probe failed: $(cat "$probe")"; exit 1 ;;
    esac
    prefix=$(mktemp -d "${TMPDIR:-/tmp}/cs-wine-prefix.XXXXXX") ||
        { echo "cannot make a folder for the Wine prefix in ${TMPDIR:-/tmp}"; exit 1; }
    export WINEPREFIX="$prefix/pfx"
    # The fonts go in before the prefix is made, so that Wine registers them
    # while it boots, alone, rather than in the first checks run side by side.
    fonts="$WINEPREFIX/drive_c/windows/Fonts"
    mkdir -p "$fonts"
    for font in tahoma.ttf tahomabd.ttf; do
        if [ -f "/usr/share/wine/fonts/$font" ]; then
            cp "/usr/share/wine/fonts/$font" "$fonts/"
        fi
    done
    # A 32-bit prefix: the module is a 32-bit DLL.
    if ! log=$(WINEARCH=win32 wineboot --init 2>&1); then
        echo "wineboot failed in $WINEPREFIX:"
        printf '%s\n' "$log" | tail -n 20
        exit 1
    fi
    wineserver -w
    if [ -e "$fonts/arial.ttf" ]; then
        echo "the fresh prefix unexpectedly has Arial"
        exit 1
    fi
    echo "$WINEPREFIX" >"$pathfile"
    echo "Wine prefix $WINEPREFIX ($(wine --version))"
    ;;
cleanup)
    if [ -f "$pathfile" ] && [ -n "$(sed -n '/^\//p' "$pathfile")" ]; then
        WINEPREFIX=$(cat "$pathfile")
        export WINEPREFIX
        wineserver -k 2>/dev/null || true
        case "$WINEPREFIX" in
        */cs-wine-prefix.*/pfx) rm -rf "$(dirname "$WINEPREFIX")" ;;
        esac
    fi
    rm -f "$pathfile"
    ;;
*)
    echo "usage: $0 setup <path file> <probe file> | cleanup <path file>"
    exit 2
    ;;
esac
