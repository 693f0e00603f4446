#!/bin/sh
# cmake --install into a throw-away prefix: the FHS layout is complete, the
# installed desktop entries validate, and the installed qltcard runs.
# Usage: install-layout.sh BUILD_DIR
set -u
build=$1
prefix=$(mktemp -d /tmp/qlt-install-XXXXXX)
trap 'rm -rf "$prefix"' EXIT INT TERM
cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }
status=0
for f in bin/QLTWIN bin/QLTLaunch bin/QLTReg bin/qltcard \
         share/qltwin/sample.qlw share/qltwin/RegInfo.txt \
         share/applications/QLTWIN.desktop share/applications/QLTLaunch.desktop share/applications/QLTReg.desktop \
         share/mime/packages/qltwin.xml \
         share/icons/hicolor/scalable/apps/qltwin.svg \
         share/icons/hicolor/scalable/mimetypes/application-x-qltwin-card.svg \
         share/icons/hicolor/scalable/mimetypes/text-x-qltwin-card.svg \
         share/icons/hicolor/scalable/mimetypes/text-x-mynote-card.svg \
         share/metainfo/example.orvale_softwares.QLTWIN.metainfo.xml \
         share/man/man1/qltcard.1.gz share/man/man1/QLTWIN.1.gz share/man/man1/QLTLaunch.1.gz share/doc/qltwin/copyright share/doc/qltwin/changelog.gz; do
    [ -e "$prefix/$f" ] || { echo "FAIL: missing $f"; status=1; }
done
if command -v desktop-file-validate >/dev/null 2>&1; then
    desktop-file-validate "$prefix"/share/applications/*.desktop || status=1
else
    echo "desktop-file-validate is not installed (desktop-file-utils): entries not validated"
fi
"$prefix/bin/qltcard" stat "$prefix/share/qltwin/sample.qlw" >/dev/null || { echo "FAIL: installed qltcard"; status=1; }
[ $status = 0 ] && echo "PASS: installed layout under $prefix"
exit $status
