#!/usr/bin/env bash
# Makes the Debian package with CPack into a scratch folder and checks it: its
# name, its control fields, dependencies found by dpkg-shlibdeps, and its file
# list, which must be exactly the expected one (paths, modes and owners).
#
#   check_package.sh BUILD_DIR EXPECTED_FILES VERSION
set -euo pipefail
build=$1 expected=$2 version=$3

work=$(mktemp -d "$build/desktop-package.XXXXXX")
trap 'rm -rf "$work"' EXIT

if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    exit 1
fi

deb=$work/out/tesserak_${version}_$(dpkg --print-architecture).deb
if [[ ! -f $deb ]]; then
    echo "no $(basename "$deb"); CPack made:"
    ls "$work/out"
    exit 1
fi

sort -k3,3 "$expected" >"$work/expected"
dpkg-deb -c "$deb" | awk '{print $1, $2, $6}' | sort -k3,3 >"$work/actual"
if ! diff -u "$work/expected" "$work/actual"; then
    echo "the package's files differ from $expected (- expected, + in the package)"
    exit 1
fi

field() { dpkg-deb -f "$deb" "$1"; }
check_field() {
    local value
    value=$(field "$1")
    if [[ $value != "$2" ]]; then
        echo "$1: '$value', expected '$2'"
        exit 1
    fi
}
check_field Package tesserak
check_field Version "$version"
check_field Section utils
check_field Architecture "$(dpkg --print-architecture)"
# The libraries the program links, as dpkg-shlibdeps names them.
depends=$(field Depends)
names=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//')
for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
    if ! grep -qxF "$lib" <<<"$names"; then
        echo "Depends lacks $lib: $depends"
        exit 1
    fi
done
