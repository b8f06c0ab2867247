#!/usr/bin/env bash
# package-test.sh CPACK BUILD_DIR SOURCE_DIR PROJECT_VERSION WORK_DIR
#
# Builds the Debian package from the build, reads its control fields and contents, has lintian check it, unpacks it
# into a private root, checks the files and manual pages there and starts the unpacked program, which must still be
# running two seconds later.
set -euo pipefail
export LC_ALL=C

cpack=$1
build_dir=$2
source_dir=$3
version=$4
work=$5
here=$(dirname -- "${BASH_SOURCE[0]}")
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

rm -rf -- "$work"
mkdir -p -- "$work/out"

if ! (cd "$build_dir" && "$cpack" -G DEB -B "$work/out" --config "$build_dir/CPackConfig.cmake") \
    >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    echo "FAIL: cpack could not make the package" >&2
    exit 1
fi

shopt -s nullglob
debs=("$work/out"/*.deb)
shopt -u nullglob
if [ "${#debs[@]}" -ne 1 ]; then
    ls -l "$work/out" >&2
    echo "FAIL: expected one .deb, found ${#debs[@]}" >&2
    exit 1
fi
deb=${debs[0]}
echo "package: $(basename -- "$deb")"

field() {
    dpkg-deb --field "$deb" "$1"
}

package=$(field Package)
package_version=$(field Version)
architecture=$(field Architecture)
depends=$(field Depends)
if [ "$package" != pagewing ]; then
    fail "Package is \"$package\""
fi
if [[ ! "$package_version" =~ ^${version//./\\.}(-[0-9]+)?$ ]]; then
    fail "Version is \"$package_version\", the project is $version"
fi
if [ "$architecture" != "$(dpkg --print-architecture)" ]; then
    fail "Architecture is \"$architecture\", this machine is $(dpkg --print-architecture)"
fi
# Debian's own naming, which apt and the archive tools expect.
if [ "$(basename -- "$deb")" != "${package}_${package_version}_${architecture}.deb" ]; then
    fail "the file is named $(basename -- "$deb"), not ${package}_${package_version}_${architecture}.deb"
fi
# Filled in by dpkg-shlibdeps from the libraries the programs link; an empty or partial list installs a program
# that cannot start.
for library in libc6 libstdc++6 libqt6core6 libqt6network6 libqt6widgets6; do
    if [[ ! "$depends" =~ (^|[ ,])"$library" ]]; then
        fail "Depends lacks $library: \"$depends\""
    fi
done
if [[ ! "$(field Maintainer)" =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]]; then
    fail "Maintainer is not \"Name <address>\": \"$(field Maintainer)\""
fi
for key in Section Priority Homepage; do
    if [ -z "$(field "$key")" ]; then
        fail "the control file has no $key"
    fi
done
description=$(field Description)
if [ -z "$(head -n 1 <<<"$description")" ] || [ "$(wc -l <<<"$description")" -lt 2 ]; then
    fail "Description needs a synopsis and a long description: \"$description\""
fi
# Package managers show the description as it stands, in an 80-column terminal.
while IFS= read -r line; do
    if [ "${#line}" -gt 80 ]; then
        fail "a Description line is longer than 80 characters: \"$line\""
    fi
done <<<"$description"

# Everything under /usr, owned by root, programs 755 and data 644.
while read -r mode owner _ _ _ path _; do
    case "$path" in
    ./ | ./usr/*) ;;
    *) fail "the package installs $path, outside /usr" ;;
    esac
    if [ "$owner" != root/root ]; then
        fail "$path belongs to $owner"
    fi
    case "$mode:$path" in
    d*) ;;
    -rwxr-xr-x:./usr/bin/*) ;;
    -rw-r--r--:./usr/share/*) ;;
    *) fail "$path has mode $mode" ;;
    esac
done < <(dpkg-deb --contents "$deb")

# Debian's own checker of built packages; an error or a warning is a fault here, whatever its tag.
lintian_status=0
lintian --display-info --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 || lintian_status=$?
cat "$work/lintian.log"
if grep -qE '^[EW]: ' "$work/lintian.log"; then
    fail "lintian reports errors or warnings: $(grep -cE '^[EW]: ' "$work/lintian.log")"
elif [ "$lintian_status" -ne 0 ]; then
    fail "lintian ended with status $lintian_status"
fi

dpkg-deb --extract "$deb" "$work/root"
# The changelog's newest entry is this package; a new version needs an entry of its own.
changelog=$work/root/usr/share/doc/pagewing/changelog.Debian.gz
if [ -f "$changelog" ]; then
    gzip --decompress --stdout "$changelog" >"$work/changelog"
    changelog_version=$(dpkg-parsechangelog --file "$work/changelog" --show-field Version)
    if [ "$changelog_version" != "$package_version" ]; then
        fail "the newest changelog entry is $changelog_version, the package is $package_version"
    fi
fi
# Debian's rules: a packaged program finds its libraries in the system's folders, with no search path of its own.
command -v readelf >/dev/null || fail "readelf is needed to read the programs' search paths"
for program in "$work/root/usr/bin"/*; do
    if readelf --dynamic "$program" | grep -E '\((RPATH|RUNPATH)\)' >&2; then
        fail "usr/bin/$(basename -- "$program") carries a library search path"
    fi
done
if ! "$here/check-layout.sh" "$work/root/usr" "$source_dir" "$version"; then
    fail "the unpacked package is incomplete"
fi
if ! "$here/check-man-pages.sh" "$work/root/usr"; then
    fail "the unpacked package's manual pages are wrong"
fi

# The version a user reads is the package's, with no display needed to read it.
reported_version=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$work/root/usr/bin/pagewing" --version \
    2>&1 || true)
if [ "$reported_version" != "pagewing $version" ]; then
    fail "pagewing --version says \"$reported_version\", not \"pagewing $version\""
fi

# A private home, settings folder and runtime folder: the program writes its settings and takes its one-copy lock
# there, and finds no account, so it stays off the network.
mkdir -p "$work/run/home" "$work/run/config" "$work/run/data" "$work/run/runtime"
chmod 700 "$work/run/runtime"
status=0
env HOME="$work/run/home" XDG_CONFIG_HOME="$work/run/config" XDG_DATA_HOME="$work/run/data" \
    XDG_RUNTIME_DIR="$work/run/runtime" QT_QPA_PLATFORM=offscreen \
    timeout --kill-after=5 2 "$work/root/usr/bin/pagewing" >"$work/run.log" 2>&1 || status=$?
if [ "$status" -ne 124 ]; then
    cat "$work/run.log" >&2
    fail "the unpacked pagewing ended with status $status within two seconds instead of running on"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures problem(s) with $(basename -- "$deb")" >&2
    exit 1
fi
echo "$(basename -- "$deb") is complete and its program starts"
