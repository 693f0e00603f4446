#!/bin/sh
# The layering rules, checked over the includes of the tree:
#  - the core never includes the gui layer;
#  - no two folders include each other, directly or around a circle;
#  - qltcard carries no widget or window-table code, and its launcher no Qt
#    at all (it restarts the process before any library of size is loaded).
# Usage: check-layers.sh SOURCE_DIR [QLTCARD_PROGRAM [QLTCARD_LAUNCHER]]
set -u
top=$1
qltcard=${2:-}
launcher=${3:-}
cd "$top" || exit 2
status=0

# Every quoted include that names a library folder, as "from-folder to-folder".
edges=$(grep -rEo --include='*.h' --include='*.cpp' '^#include "(core|gui)/[a-z0-9_]+/' src apps tests |
    sed -E 's#^([^:]*)/[^/:]*:\#include "((core|gui)/[a-z0-9_]+)/#\1 \2#' |
    sed -E 's#^src/##' | awk '$1 != $2' | sort -u)

bad=$(printf '%s\n' "$edges" | awk '$1 ~ /^core\// && $2 ~ /^gui\//')
if [ -n "$bad" ]; then
    echo "The core includes the gui layer:"; printf '  %s\n' "$bad"; status=1
fi

# tsort reports a loop when the folders include each other in a circle.
loops=$(printf '%s\n' "$edges" | grep -E '^(core|gui)/' | tsort 2>&1 >/dev/null)
if [ -n "$loops" ]; then
    echo "Folders include each other:"; printf '%s\n' "$loops"; status=1
fi

if [ -n "$qltcard" ]; then
    if ldd "$qltcard" | grep -q 'libQt6Widgets'; then
        echo "qltcard links Qt Widgets"; status=1
    fi
    syms=$(nm -C "$qltcard" | grep -cE 'MainWindowTables|MainForm|KeyMap' || true)
    if [ "$syms" != 0 ]; then
        echo "qltcard links $syms symbols of the window code"; status=1
    fi
fi
if [ -n "$launcher" ] && ldd "$launcher" | grep -q 'libQt6'; then
    echo "qltcard's launcher links Qt"; status=1
fi
[ $status = 0 ] && echo "layering: $(printf '%s\n' "$edges" | wc -l) folder edges, no circle, core free of gui"
exit $status
