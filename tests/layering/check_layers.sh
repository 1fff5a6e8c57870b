#!/usr/bin/env bash
# The layering check: reads the #include lines of the program's code and fails,
# naming file and line, where an arrow points up. The layers, bottom up:
#
#   platform/  framework/core/  resources/  engine/  framework/window/  ui/  app/
#
# A file may include headers of its own layer and of the layers below it, and:
# - the engine uses only the ids of resources/ (resources/resource.h), never
#   the templates or the icon;
# - Qt headers (<Q...>) only in framework/window/, ui/ and app/;
# - the system's file headers (fcntl.h, unistd.h, sys/stat.h, sys/types.h,
#   windows.h, io.h, direct.h, dirent.h) only in platform/, which hides them
#   behind the file layer for both systems;
# - the window framework's ports, framework/window/qt/ and
#   framework/window/win32/, never include each other, and the shared files
#   of framework/window/ include neither;
# - nothing of tests/ or bench/;
# - no include circle: a header and the source of the same name are one unit,
#   and no unit includes, by any path, a unit that includes it back (a circle
#   is named by its includes, one per unit).
# bench/ and tests/ are tools, not layers: they may include any layer and
# use POSIX directly, so they are not checked; nor is data/ (the desktop
# files and the tool that makes the icons).
#
# Usage: check_layers.sh [SOURCE_DIR]   (default: the tree this script is in)
set -u

root=${1:-"$(cd "$(dirname "$0")/../.." && pwd)"}
cd "$root" || exit 2

# Sets `rank` and `layer` for a path (of a file or an include) by its leading
# folders; both empty when the path belongs to no layer (a system or library
# header). Tools rank above every layer.
classify() {
    rank="" layer=""
    case "$1" in
        platform/*) rank=1 layer=platform/ ;;
        framework/core/*) rank=2 layer=framework/core/ ;;
        resources/*) rank=3 layer=resources/ ;;
        engine/*) rank=4 layer=engine/ ;;
        framework/window/*) rank=5 layer=framework/window/ ;;
        ui/*) rank=6 layer=ui/ ;;
        app/*) rank=7 layer=app/ ;;
        tests/* | bench/*) rank=99 layer=${1%%/*}/ ;;
    esac
}

failures=0
checked=0
# One include for each arrow between two units ("from to" -> "file:line includes name").
declare -A arrow_at=()

fail() {
    echo "$1:$2: $3" >&2
    failures=$((failures + 1))
}

include_pattern='^[[:space:]]*#[[:space:]]*include[[:space:]]*([<"])([^>"]*)[>"]'
while IFS= read -r -d '' file; do
    file=${file#./}
    checked=$((checked + 1))
    classify "$file"
    own=$rank own_layer=$layer
    if [ -z "$own" ]; then
        fail "$file" 1 "a folder with no layer: give it one here and in docs/architecture.md"
        continue
    fi
    while IFS=: read -r line text; do
        [[ $text =~ $include_pattern ]] || continue
        bracket=${BASH_REMATCH[1]} name=${BASH_REMATCH[2]}
        case "$name" in
            ../* | */../*)
                fail "$file" "$line" "includes \"$name\": name includes from the top of the tree"
                continue
                ;;
        esac
        if [ "$bracket" = '"' ] && [ -f "$name" ] && [ "${file%.*}" != "${name%.*}" ]; then
            arrow="${file%.*} ${name%.*}"
            arrow_at[$arrow]=${arrow_at[$arrow]:-"$file:$line includes $name"}
        fi
        classify "$name"
        if [ "$rank" = 99 ]; then
            fail "$file" "$line" "$own_layer includes $name: the program never includes tests/ or bench/"
        elif [ -n "$rank" ] && [ "$rank" -gt "$own" ]; then
            fail "$file" "$line" "$own_layer includes $name: $layer is above $own_layer"
        fi
        if [ "$own_layer" = engine/ ] && [ "$layer" = resources/ ] &&
            [ "$name" != resources/resource.h ]; then
            fail "$file" "$line" "engine/ includes $name: the engine uses only the ids, resources/resource.h"
        fi
        if [ "$bracket" = "<" ] && [[ $name == Q* ]] && [ "$own" -lt 5 ]; then
            fail "$file" "$line" "$own_layer includes the Qt header <$name>: Qt only in framework/window/, ui/ and app/"
        fi
        case "$file" in
            framework/window/qt/*) port=qt/ other=win32/ ;;
            framework/window/win32/*) port=win32/ other=qt/ ;;
            framework/window/*/*) port="" other="" ;;
            framework/window/*) port=shared other="qt/ win32/" ;;
            *) port="" other="" ;;
        esac
        for forbidden in $other; do
            if [[ $name == framework/window/$forbidden* ]]; then
                if [ "$port" = shared ]; then
                    fail "$file" "$line" "the shared framework/window/ includes $name: it includes neither port"
                else
                    fail "$file" "$line" "framework/window/$port includes $name: the ports never include each other"
                fi
            fi
        done
        if [ "$own_layer" != platform/ ]; then
            case "${name,,}" in
                fcntl.h | unistd.h | sys/stat.h | sys/types.h | windows.h | io.h | direct.h | dirent.h)
                    fail "$file" "$line" "$own_layer includes the system file header $name: only platform/ may"
                    ;;
            esac
        fi
    done < <(grep -nE '^[[:space:]]*#[[:space:]]*include' "$file")
done < <(find platform framework resources engine ui app -type f \
    \( -name '*.h' -o -name '*.hpp' -o -name '*.cpp' -o -name '*.cc' -o -name '*.inc' \) -print0 | sort -z)

# The engine names resources/ only for its ids, in code and comments alike
# (its #include lines are checked above).
while IFS=: read -r file line text; do
    [[ $text =~ $include_pattern ]] && continue
    if [[ ${text//resources\/resource.h/} == *resources/* ]]; then
        fail "$file" "$line" "engine/ names resources/ beyond its ids (resources/resource.h)"
    fi
done < <(grep -rn 'resources/' engine/)

# tsort names the units of each circle it has to break, in include order.
circle() {
    local units=("$@") i from to steps=""
    for ((i = 0; i < $#; i++)); do
        from=${units[i]} to=${units[(i + 1) % $#]}
        steps+="${steps:+, }${arrow_at["$from $to"]:-"$from includes $to"}"
    done
    echo "include circle: $steps" >&2
    failures=$((failures + 1))
}
units=()
while IFS= read -r text; do
    if [[ $text == *"input contains a loop:" ]]; then
        ((${#units[@]} == 0)) || circle "${units[@]}"
        units=()
    else
        units+=("${text#tsort: }")
    fi
done < <(printf '%s\n' "${!arrow_at[@]}" | LC_ALL=C tsort 2>&1 >/dev/null)
((${#units[@]} == 0)) || circle "${units[@]}"

if [ "$checked" -eq 0 ]; then
    echo "no source files found under $root" >&2
    exit 2
fi
if [ "$failures" -gt 0 ]; then
    echo "layering: $failures violation(s) in $checked files; see docs/architecture.md" >&2
    exit 1
fi
echo "layering: $checked files, every include points down, no include circle"
