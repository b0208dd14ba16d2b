#!/bin/sh
# Builds the Debian package from the build tree, unpacks it into a temporary
# root (dpkg -x) and checks that every file is where Debian and the desktop
# look for it, that the programs run from there, and that lintian finds no
# error or warning.
#   check_package.sh BUILD_DIR
set -eu

build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fails=0
fail() {
    echo "FAIL: $*"
    fails=$((fails + 1))
}

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || {
    cat "$work/cpack.log"
    exit 1
}
deb=$(ls "$work"/out/torvex-pilot_*_*.deb)
echo "package: $(basename "$deb")"

# The control data: name, section, and dependencies from the shared libraries
# plus the fonts the screens need.
control=$(dpkg-deb -f "$deb")
echo "$control" | grep -qx 'Package: torvex-pilot' || fail "package name"
depends=$(dpkg-deb -f "$deb" Depends)
for dep in fonts-noto-cjk libqt6core6 libqt6widgets6 libqt6serialport6 libxlsxwriter4 libc6; do
    echo "$depends" | grep -q "\\b$dep\\b" || fail "Depends lacks $dep: $depends"
done

root=$work/root
dpkg -x "$deb" "$root"
doc=$root/usr/share/doc/torvex-pilot

for prog in torvex_pilot torvex torvex-sim; do
    [ -x "$root/usr/bin/$prog" ] || fail "program $prog"
done
for page in torvex_pilot torvex torvex-sim; do
    f=$root/usr/share/man/man1/$page.1.gz
    if [ -f "$f" ]; then
        # Renders without a warning from groff.
        warnings=$(gzip -dc "$f" | LC_ALL=C.UTF-8 groff -k -man -Tutf8 -ww -z 2>&1 || true)
        [ -z "$warnings" ] || fail "man page $page: $warnings"
    else
        fail "man page $page"
    fi
done
for manual in "TORVEX_Pilot取扱説明書.pdf" TORVEX_Pilot_Manual_en.pdf; do
    f=$doc/$manual
    if [ -f "$f" ] && [ "$(head -c 5 "$f")" = "%PDF-" ]; then
        pages=$(pdfinfo "$f" | sed -n 's/^Pages: *//p')
        [ "${pages:-0}" -ge 10 ] || fail "manual $manual has ${pages:-no} pages"
    else
        fail "manual $manual"
    fi
done
for f in copyright changelog.gz README.md examples/three_steps.tvx examples/two_tests.tvxs; do
    [ -f "$doc/$f" ] || fail "documentation file $f"
done
gzip -t "$doc/changelog.gz" || fail "changelog.gz"
head -n 1 "$doc/copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "copyright is not DEP-5"

desktop=$root/usr/share/applications/torvex_pilot.desktop
if [ -f "$desktop" ]; then
    for key in 'Name=' 'Name\[ja\]=' 'Exec=torvex_pilot %f' 'Icon=torvex_pilot' \
        'MimeType=application/x-torvex-data;application/x-torvex-sequence;'; do
        grep -q "^$key" "$desktop" || fail "desktop entry lacks $key"
    done
else
    fail "desktop entry"
fi
metainfo=$root/usr/share/metainfo/example.kelvora.TORVEX_Pilot.metainfo.xml
[ -f "$metainfo" ] || fail "AppStream metainfo"
grep -q '<launchable type="desktop-id">torvex_pilot.desktop</launchable>' "$metainfo" ||
    fail "metainfo does not launch the desktop entry"
appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 || {
    cat "$work/appstream.log"
    fail "metainfo does not validate"
}
mime=$root/usr/share/mime/packages/torvex-pilot-mime.xml
xmllint --noout "$mime" || fail "MIME types"
[ -f "$root/usr/share/icons/hicolor/scalable/apps/torvex_pilot.svg" ] || fail "scalable icon"
for size in 16 22 24 32 48 64 128 256; do
    png=$root/usr/share/icons/hicolor/${size}x$size/apps/torvex_pilot.png
    [ "$(file -b "$png" 2>/dev/null | cut -d, -f2)" = " $size x $size" ] || fail "icon $size: $(file -b "$png" 2>&1)"
done
completion=$root/usr/share/bash-completion/completions/torvex
# The completion offers the commands, and the models after --model.
words=$(bash -c '. "$1"; COMP_WORDS=(torvex ""); COMP_CWORD=1; _torvex; echo "${COMPREPLY[*]}"' sh "$completion") ||
    fail "bash completion"
for cmd in steps resave run report ports sim; do
    case " $words " in *" $cmd "*) ;; *) fail "bash completion lacks $cmd: $words" ;; esac
done
models=$(bash -c '. "$1"; COMP_WORDS=(torvex run x.tvx --model ""); COMP_CWORD=4; _torvex; echo "${COMPREPLY[*]}"' sh "$completion")
[ "$models" = "K2 K1" ] || fail "bash completion of --model: $models"

# The unpacked programs run; the port list of an empty search says so.
"$root/usr/bin/torvex" --version | grep -q '^torvex [0-9]' || fail "torvex --version"
status=0
TORVEX_PORTS_ONLY=1 "$root/usr/bin/torvex" ports >/dev/null || status=$?
[ "$status" -eq 1 ] || fail "torvex ports without ports exits $status"
"$root/usr/bin/torvex" steps "$doc/examples/three_steps.tvx" >/dev/null || fail "torvex steps"

# lintian as Debian's archive would run it: no error and no warning.
lintian --fail-on error,warning --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 || {
    grep -v 'root privileges' "$work/lintian.log"
    fail "lintian"
}

if [ "$fails" -ne 0 ]; then
    echo "$fails check(s) failed"
    exit 1
fi
echo "package checked: $(dpkg-deb -c "$deb" | wc -l) entries"
