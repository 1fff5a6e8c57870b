#!/usr/bin/env bash
# The layering check on a small tree of its own: a.h includes b.h, b.h c.h,
# and c.cpp (one unit with c.h, which it includes too) a.h; the check must fail
# naming the three includes of that circle, and pass once c.cpp drops a.h.
set -u
tree=$(mktemp -d) && trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree"/{platform,framework,resources,engine,ui,app}
echo '#include "platform/b.h"' >"$tree/platform/a.h"
echo '#include "platform/c.h"' >"$tree/platform/b.h"
printf '#pragma once\n' >"$tree/platform/c.h"
printf '#include "platform/c.h"\n#include "platform/a.h"\n' >"$tree/platform/c.cpp"
out=$(bash "$(dirname "$0")/check_layers.sh" "$tree" 2>&1) && exit 1
for arrow in a.h:1' includes platform/b.h' b.h:1' includes platform/c.h' c.cpp:2' includes platform/a.h'; do
    grep -qF "platform/$arrow" <<<"$out" || { echo "not named: platform/$arrow" >&2; exit 1; }
done
printf '#include "platform/c.h"\n' >"$tree/platform/c.cpp"
bash "$(dirname "$0")/check_layers.sh" "$tree"
