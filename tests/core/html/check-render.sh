#!/bin/sh
# Renders the single page and a card page of every delivered template with
# headless Chromium, to PNGs (desktop and phone widths) under OUT, and fails
# when a dumped DOM lacks the sample's Japanese texts or holds U+FFFD.
# Usage: check-render.sh BIN_DIR OUT
set -u
bin=$1
out=$2
browser=$(command -v chromium || command -v chromium-browser || true)
if [ -z "$browser" ]; then
    echo "check-render: chromium is not installed (Debian package chromium; make deps installs it)"
    exit 1
fi
rm -rf "$out"
mkdir -p "$out"
status=0
sample="$bin/sample.qlw"
# Texts of the first cards of the sample, as every page of them must show.
single_texts="定例会議の議事録 出席：田中、佐藤、鈴木 見積書の送付 肉じゃが ①着替え"
card_texts="定例会議の議事録 毎週月曜 出席：田中、佐藤、鈴木"

# render PAGE NAME TEXTS SHOTS: the DOM checked for TEXTS, screenshots at the
# SHOTS widths ("desktop", "phone").
render() {
    r_page=$1 r_name=$2 r_texts=$3 r_shots=$4
    r_profile=$(mktemp -d)
    r_flags="--headless --no-sandbox --disable-gpu --disable-background-networking --disable-component-update
             --disable-sync --no-first-run --hide-scrollbars --host-resolver-rules=MAP*~NOTFOUND
             --user-data-dir=$r_profile"
    # shellcheck disable=SC2086
    "$browser" $r_flags --dump-dom "file://$r_page" >"$out/$r_name.dom" 2>/dev/null
    for r_shot in $r_shots; do
        case $r_shot in desktop) r_size=1280,900 ;; *) r_size=390,844 ;; esac
        # shellcheck disable=SC2086
        "$browser" $r_flags --window-size=$r_size --screenshot="$out/$r_name-$r_shot.png" "file://$r_page" \
            >/dev/null 2>&1
        [ -s "$out/$r_name-$r_shot.png" ] || { echo "check-render: no screenshot $r_name-$r_shot.png"; status=1; }
    done
    rm -rf "$r_profile"
    for t in $r_texts; do
        if ! grep -q "$t" "$out/$r_name.dom"; then
            echo "check-render: $r_name lacks \"$t\""; status=1
        fi
    done
    if grep -q "$(printf '\357\277\275')" "$out/$r_name.dom"; then
        echo "check-render: $r_name holds U+FFFD"; status=1
    fi
}

n=0
for tmpl in "$bin/HinaDefault.qlw" "$bin"/雛形/Hina*.qlw; do
    n=$((n + 1))
    name=$(basename "$tmpl" .qlw | sed 's/(.*//')
    dir="$out/$name"
    mkdir -p "$dir"
    "$bin/qltcard" html --mode 0 --template "$tmpl" "$sample" "$dir/single.html" >/dev/null || status=1
    "$bin/qltcard" html --mode 1 --template "$tmpl" "$sample" "$dir/tree" >/dev/null || status=1
    mkdir -p "$dir/dark"
    "$bin/qltcard" html --mode 0 --template "$tmpl" --style 0-2 "$sample" "$dir/dark/single.html" >/dev/null ||
        status=1
    render "$dir/single.html" "$name-single" "$single_texts" "desktop phone"
    render "$dir/tree/qlt000000/qlt000000.html" "$name-card" "$card_texts" "phone"
    render "$dir/dark/single.html" "$name-single-dark" "$single_texts" "desktop"
done
[ $status = 0 ] && echo "check-render: $n templates rendered to $out, every text shown"
exit $status
