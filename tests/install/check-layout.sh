#!/usr/bin/env bash
# check-layout.sh PREFIX SOURCE_DIR PROJECT_VERSION
#
# Checks an installed tree, the folder an install prefix names (/usr in the package), for every file the desktop
# program needs, each identical to its source, and for agreement between the files that name one another: the
# menu finds the program and the icon through the desktop entry, software centres find the entry through the
# metainfo, and the window is matched to the entry by the name the program gives itself.
set -euo pipefail
export LC_ALL=C

prefix=$1
source_dir=$2
version=$3
app_id=com.lumenfold.Pagewing
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

same_as_source() {
    local installed=$1 original=$2
    if [ ! -f "$prefix/$installed" ]; then
        fail "$installed is missing"
    elif ! cmp -s "$prefix/$installed" "$original"; then
        fail "$installed is not the same as ${original#"$source_dir/"}"
    fi
}

# The value of KEY in the [Desktop Entry] group.
desktop_value() {
    sed -n '/^\[Desktop Entry\]/,/^\[/{s/^'"$1"'=//p}' "$2" | head -n 1
}

for program in pagewing pagewing-gateway-sim; do
    if [ ! -f "$prefix/bin/$program" ] || [ ! -x "$prefix/bin/$program" ]; then
        fail "bin/$program is missing or not executable"
    fi
done

desktop_entry=share/applications/$app_id.desktop
metainfo=share/metainfo/$app_id.metainfo.xml
same_as_source "$desktop_entry" "$source_dir/data/$app_id.desktop"
same_as_source "$metainfo" "$source_dir/data/$app_id.metainfo.xml"
# The help page is its template with the product's name and version filled in by the build.
help_page=share/pagewing/LumenfoldPagewing.html
if [ ! -f "$prefix/$help_page" ]; then
    fail "$help_page is missing"
elif ! sed -e "s/@PAGEWING_PRODUCT_NAME@/Lumenfold Pagewing/g" -e "s/@PROJECT_VERSION@/$version/g" \
    "$source_dir/docs/help/LumenfoldPagewing.html.in" | cmp -s - "$prefix/$help_page"; then
    fail "$help_page is not its template with the name and version $version filled in"
fi
same_as_source share/doc/pagewing/copyright "$source_dir/LICENSE"
same_as_source share/lintian/overrides/pagewing "$source_dir/data/debian/lintian-overrides"
changelog=share/doc/pagewing/changelog.Debian.gz
if [ ! -f "$prefix/$changelog" ]; then
    fail "$changelog is missing"
elif ! gzip --decompress --stdout "$prefix/$changelog" | cmp -s - "$source_dir/data/debian/changelog"; then
    fail "$changelog is not data/debian/changelog compressed"
fi

icons=0
while IFS= read -r -d '' icon; do
    same_as_source "share/${icon#"$source_dir/data/"}" "$icon"
    icons=$((icons + 1))
done < <(find "$source_dir/data/icons/hicolor" -path "*/apps/$app_id.*" -type f -print0)
if [ "$icons" -eq 0 ]; then
    fail "found no icons under data/icons/hicolor to compare with"
fi
if [ -d "$prefix/share/icons" ]; then
    while IFS= read -r -d '' stray; do
        fail "${stray#"$prefix/"} is not one of the program's icons"
    done < <(find "$prefix/share/icons" -type f ! -path "*/hicolor/*/apps/$app_id.*" -print0)
fi

if [ -f "$prefix/$desktop_entry" ]; then
    exec_line=$(desktop_value Exec "$prefix/$desktop_entry")
    program=${exec_line%% *}
    if [ ! -x "$prefix/bin/$(basename -- "$program")" ]; then
        fail "the desktop entry starts \"$program\", which is not installed in bin"
    fi
    icon=$(desktop_value Icon "$prefix/$desktop_entry")
    # The icon theme rules require every application icon in hicolor at 48x48 at least.
    if [ ! -f "$prefix/share/icons/hicolor/48x48/apps/$icon.png" ]; then
        fail "the desktop entry names icon \"$icon\", which has no 48x48 picture in hicolor"
    fi
fi

if [ -f "$prefix/$metainfo" ]; then
    component_id=$(sed -n 's:.*<id>\(.*\)</id>.*:\1:p' "$prefix/$metainfo" | head -n 1)
    if [ "$component_id" != "$app_id" ]; then
        fail "the metainfo file is named for $app_id but its id is \"$component_id\""
    fi
    launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$prefix/$metainfo")
    if [ ! -f "$prefix/share/applications/$launchable" ]; then
        fail "the metainfo launches \"$launchable\", which is not installed in share/applications"
    fi
    binaries=$(sed -n 's:.*<binary>\(.*\)</binary>.*:\1:p' "$prefix/$metainfo")
    if [ -z "$binaries" ]; then
        fail "the metainfo provides no binary"
    fi
    for binary in $binaries; do
        if [ ! -x "$prefix/bin/$binary" ]; then
            fail "the metainfo provides binary \"$binary\", which is not installed in bin"
        fi
    done
    newest_release=$(sed -n 's:.*<release [^>]*version="\([^"]*\)".*:\1:p' "$prefix/$metainfo" | head -n 1)
    if [ "$newest_release" != "$version" ]; then
        fail "the newest release in the metainfo is \"$newest_release\", the project is $version"
    fi
fi

# Desktops match a window to its entry by the name the program gives itself, which must be the entry's name:
# the application id that CMakeLists.txt sets and the program takes from the generated header.
project_app_id=$(sed -n 's/^set(PAGEWING_APP_ID \([^)]*\))/\1/p' "$source_dir/CMakeLists.txt")
desktop_file_name=$(grep -rhoE 'setDesktopFileName\([^;]*' "$source_dir/src" | head -n 1 || true)
if [ "$project_app_id" != "$app_id" ] || [[ "$desktop_file_name" != *"ProductInfo::AppId"* ]]; then
    fail "the program does not call itself $app_id (project: ${project_app_id:-none}; ${desktop_file_name:-no setDesktopFileName call})"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures problem(s) in $prefix" >&2
    exit 1
fi
echo "layout of $prefix is complete: 2 programs, $icons icons, desktop entry, metainfo, help page, licence, changelog"
