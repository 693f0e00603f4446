#!/bin/sh
# Checks the Debian package the way a user meets it: lintian finds no
# error; unpacked into a throw-away root, its desktop files pass the
# desktop's validators, its MIME package gives the card types, qltcard runs,
# and the installed QLTWIN starts under Xvfb on the installed sample with a
# fresh home (no QLT_HOME): the welcome, the installed wizard, the main
# window, and the per-user program folder seeded. QLT_SHOTS=FOLDER keeps
# screenshots.
# Usage: check-install.sh PACKAGE.deb
set -eu
deb=$(readlink -f "$1")
[ -f "$deb" ] || { echo "no package $1"; exit 1; }
need() { command -v "$1" >/dev/null 2>&1 || { echo "FAIL: $1 is not installed (make deps installs it)"; exit 1; }; }
for tool in lintian dpkg-deb desktop-file-validate appstreamcli update-mime-database xdg-mime mimetype Xvfb xdotool; do
    need $tool
done

work=$(mktemp -d /tmp/qlt-check-install-XXXXXX)
xvfb_pid=
qltwin_pid=
cleanup() {
    [ -n "$qltwin_pid" ] && kill "$qltwin_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT INT TERM
step() { echo "== $*"; }
fail() { echo "FAIL: $*"; exit 1; }

step "apt-get install --simulate (dependencies resolve on this system)"
apt-get install --simulate -qq "$deb" >/dev/null || fail "apt-get cannot install the package's dependencies"

step "lintian $(basename "$deb")"
lintian --fail-on error "$deb" || fail "lintian reports errors"

step "unpacking into $work/root"
dpkg-deb -x "$deb" "$work/root"
root=$work/root
usr=$root/usr
for f in bin/QLTWIN bin/QLTLaunch bin/QLTReg bin/qltcard share/qltwin/sample.qlw share/qltwin/RegInfo.txt \
         share/applications/QLTWIN.desktop share/applications/QLTLaunch.desktop share/applications/QLTReg.desktop \
         share/mime/packages/qltwin.xml share/icons/hicolor/scalable/apps/qltwin.svg \
         share/metainfo/example.orvale_softwares.QLTWIN.metainfo.xml share/man/man1/qltcard.1.gz \
         share/doc/qltwin/copyright; do
    [ -e "$usr/$f" ] || fail "the package lacks /usr/$f"
done

step "desktop entries and metainfo"
desktop-file-validate "$usr"/share/applications/*.desktop
appstreamcli validate --no-net "$usr"/share/metainfo/*.xml >/dev/null || fail "appstreamcli rejects the metainfo"
man -l "$usr/share/man/man1/qltcard.1.gz" >/dev/null 2>&1 || fail "the manual page does not render"

export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_CACHE_HOME="$work/home/.cache" XDG_DATA_DIRS="$usr/share:/usr/share"
unset QLT_HOME XDG_CURRENT_DESKTOP DESKTOP_SESSION QT_QPA_PLATFORM
mkdir -p "$HOME"

step "MIME types from the installed package"
mkdir -p "$XDG_DATA_HOME/mime/packages"
cp "$usr/share/mime/packages/qltwin.xml" "$XDG_DATA_HOME/mime/packages/"
update-mime-database "$XDG_DATA_HOME/mime"
for pair in "a.qlw application/x-qltwin-card" "B.QLT text/x-qltwin-card" "メモ.stk text/x-mynote-card"; do
    name=${pair% *}; type=${pair#* }
    : >"$work/$name"
    got=$(xdg-mime query filetype "$work/$name")
    [ "$got" = "$type" ] || fail "$name is $got, not $type"
done

step "qltcard"
"$usr/bin/qltcard" --version
"$usr/bin/qltcard" stat "$usr/share/qltwin/sample.qlw" || fail "qltcard cannot read the installed sample"

step "QLTWIN under Xvfb on the installed sample"
n=140
while [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ]; do n=$((n + 1)); done
Xvfb :$n -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=:$n
i=0
until xdotool getmouselocation >/dev/null 2>&1; do
    i=$((i + 1)); [ $i -gt 50 ] && fail "Xvfb did not start"; sleep 0.2
done
"$usr/bin/QLTWIN" "$usr/share/qltwin/sample.qlw" >"$work/qltwin.log" 2>&1 &
qltwin_pid=$!
. "$(dirname "$0")/../tests/support/xwindows.sh"
shot() {
    if [ -n "${QLT_SHOTS:-}" ] && command -v import >/dev/null 2>&1; then
        mkdir -p "$QLT_SHOTS" && import -window root "$QLT_SHOTS/$1.png"
    fi
}
# The first start of the version: welcome, the installed wizard walked to
# its end, QLTWIN back on the sample.
w=$(window '^QLTWIN$') || fail "no welcome: $(cat "$work/qltwin.log")"
shot 1-welcome
press "$w" Return
wiz=$(window 'Infomation Wizard') || fail "the installed QLTReg did not open"
shot 2-wizard
for step in 1 2 3 4 5; do press "$wiz" alt+n; sleep 0.5; done
w=$(window '^QLTWIN$') || fail "no first-run notice from QLTWIN after the wizard"
press "$w" Return
main=$(window 'sample') || fail "the main window did not open"
shot 3-main-window
qltwin_pid=$(xdotool getwindowpid "$main" 2>/dev/null || true)
folder=$XDG_DATA_HOME/QLTWIN
[ -f "$folder/sample.qlw" ] || fail "the per-user program folder was not seeded"
[ -e "$folder/RegInfo.txt" ] && fail "RegInfo.txt was copied to the per-user folder"
grep -q "^Path=$usr/bin/QLTWIN" "$XDG_CONFIG_HOME/Orvale SoftWares/QLT@WIN.conf" || fail "QLTWIN did not publish its path"
grep -qx "application/x-qltwin-card=QLTWIN.desktop;" "$XDG_CONFIG_HOME/mimeapps.list" || fail "the wizard registered no .qlw"

echo "PASS: $(basename "$deb") installs, validates and runs"
