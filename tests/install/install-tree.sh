#!/usr/bin/env bash
# install-tree.sh CMAKE BUILD_DIR CONFIG SOURCE_DIR PROJECT_VERSION WORK_DIR
#
# Installs the build into a fresh prefix and checks what arrived there.
set -euo pipefail
export LC_ALL=C

cmake=$1
build_dir=$2
config=$3
source_dir=$4
version=$5
work=$6
here=$(dirname -- "${BASH_SOURCE[0]}")

rm -rf -- "$work"
mkdir -p -- "$work"
prefix=$work/root/usr

if ! "$cmake" --install "$build_dir" --config "$config" --prefix "$prefix" >"$work/install.log" 2>&1; then
    cat "$work/install.log" >&2
    echo "FAIL: cmake --install failed" >&2
    exit 1
fi

# A destination given as an absolute path ignores the prefix and would write into the system, or fail the package.
outside=$(sed -n 's/^-- \(Installing\|Up-to-date\): //p' "$work/install.log" | grep -v -- "^$prefix/" || true)
if [ -n "$outside" ]; then
    echo "FAIL: installed outside the prefix:" >&2
    echo "$outside" >&2
    exit 1
fi

"$here/check-layout.sh" "$prefix" "$source_dir" "$version"
"$here/check-man-pages.sh" "$prefix"

# The same checks software centres make when they collect the metadata of an installed system: the metainfo
# together with the desktop entry it launches.
if command -v appstreamcli >/dev/null; then
    if ! appstreamcli validate-tree --no-net --strict "$work/root" >"$work/validate-tree.log" 2>&1; then
        cat "$work/validate-tree.log" >&2
        echo "FAIL: appstreamcli validate-tree rejects the installed tree" >&2
        exit 1
    fi
    echo "appstreamcli validate-tree accepts the installed tree"
fi
