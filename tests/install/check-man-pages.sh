#!/usr/bin/env bash
# check-man-pages.sh PREFIX
#
# Checks the manual page of every program in PREFIX/bin as a reader meets it: there, gzipped, rendered by man with
# no groff warning and no line wider than the terminal, with a NAME line of its own and an EXIT STATUS section, and
# listing every option that the installed program's --help lists. Each --help runs with no display at all, as over
# ssh or from cron.
set -euo pipefail
export LC_ALL=C.UTF-8

prefix=$1
width=80
failures=0
pages=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

command -v man >/dev/null || fail "man is needed to render the pages"
work=$(mktemp -d)
trap 'rm -rf -- "$work"' EXIT

for program_path in "$prefix/bin"/*; do
    program=$(basename -- "$program_path")
    page=share/man/man1/$program.1.gz
    if [ ! -f "$prefix/$page" ]; then
        fail "$page is missing"
        continue
    fi
    if ! gzip --test "$prefix/$page" 2>/dev/null; then
        fail "$page is not gzip data"
        continue
    fi
    pages=$((pages + 1))
    # Words are read from the source, not the rendering, which spreads and hyphenates them.
    source=$(gzip --decompress --stdout "$prefix/$page" | sed 's/\\-/-/g')

    # "w" turns on every groff warning; "all" leaves out undefined macros, the likeliest fault in a page.
    if ! MANWIDTH=$width man --local-file --warnings=w "$prefix/$page" >"$work/page.txt" 2>"$work/warnings.txt" ||
        [ -s "$work/warnings.txt" ]; then
        cat "$work/warnings.txt" >&2
        fail "man renders $page with warnings or not at all"
    fi
    while IFS= read -r line; do
        fail "$page renders a line wider than $width columns: \"$line\""
    done < <(awk -v width="$width" 'length($0) > width' "$work/page.txt")

    name_line=$(sed -n '/^\.SH NAME$/{n;p;}' <<<"$source")
    if [[ "$name_line" != "$program - "* ]] || [[ "$name_line" == *"manual page for"* ]]; then
        fail "$page has the NAME line \"$name_line\", not \"$program - \" and what it does"
    fi
    if ! grep -qx 'EXIT STATUS' "$work/page.txt"; then
        fail "$page has no EXIT STATUS section"
    fi

    if ! env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program_path" --help >"$work/help.txt" \
        2>"$work/help-errors.txt"; then
        cat "$work/help-errors.txt" >&2
        fail "$program --help fails with no display"
        continue
    fi
    options=$(grep -oE -- '--[a-z][a-z0-9-]*' "$work/help.txt" | sort -u)
    if [ -z "$options" ]; then
        fail "$program --help lists no option"
    fi
    for option in $options; do
        if ! grep -qF -- "$option" <<<"$source"; then
            fail "$page does not mention $option, which $program --help lists"
        fi
    done
done

if [ "$pages" -eq 0 ] && [ "$failures" -eq 0 ]; then
    fail "no program in $prefix/bin to check a page for"
fi
if [ "$failures" -ne 0 ]; then
    echo "$failures problem(s) with the manual pages in $prefix" >&2
    exit 1
fi
echo "$pages manual pages render without warnings and list every option of their programs"
