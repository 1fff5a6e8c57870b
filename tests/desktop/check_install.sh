#!/usr/bin/env bash
# Installs the build as `cmake --install --prefix /usr` would, into a scratch
# folder, and checks what lands there: exactly the package's files with their
# modes (no test program, no library), a desktop entry and a metainfo that
# their validators pass without a remark, and the version texts in both.
#
#   check_install.sh BUILD_DIR EXPECTED_FILES APP_ID COMMENTS VERSION \
#                    DESKTOP_FILE_VALIDATE APPSTREAMCLI
set -euo pipefail
build=$1 expected=$2 app_id=$3 comments=$4 version=$5 dfv=$6 appstreamcli=$7

work=$(mktemp -d "$build/desktop-install.XXXXXX")
trap 'rm -rf "$work"' EXIT
root=$work/root

DESTDIR=$root cmake --install "$build" --prefix /usr >"$work/install.log"

# Files only: the folders' modes follow the umask here, unlike in the package.
grep '^-' "$expected" | awk '{print $1, $3}' | sort -k2,2 >"$work/expected"
(cd "$root" && find . ! -type d -printf '%M %p\n') | sort -k2,2 >"$work/actual"
if ! diff -u "$work/expected" "$work/actual"; then
    echo "the installed files differ from $expected (- expected, + installed)"
    exit 1
fi

desktop=$root/usr/share/applications/$app_id.desktop
metainfo=$root/usr/share/metainfo/$app_id.metainfo.xml

# desktop-file-validate prints every error, warning and hint; none is allowed.
out=$("$dfv" "$desktop" 2>&1) || { echo "$out"; exit 1; }
if [[ -n $out ]]; then
    echo "$out"
    exit 1
fi

# Errors, warnings and remarks are lines starting E:, W: or I:.
out=$("$appstreamcli" validate --no-net "$metainfo" 2>&1) || { echo "$out"; exit 1; }
if grep -q '^[EWI]:' <<<"$out"; then
    echo "$out"
    exit 1
fi

grep -qxF "Comment[ja]=$comments" "$desktop" ||
    { echo "$desktop: no Comment[ja]=$comments"; exit 1; }
grep -qF "<summary xml:lang=\"ja\">$comments</summary>" "$metainfo" ||
    { echo "$metainfo: no Japanese summary $comments"; exit 1; }
grep -qF "<release version=\"$version\"" "$metainfo" ||
    { echo "$metainfo: no release $version"; exit 1; }
