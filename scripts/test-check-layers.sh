#!/usr/bin/env bash
# Tests scripts/check-layers.sh on a tiny tree: the clean tree passes, and each wrong include planted
# into a fresh copy of it fails the check with the file and line named. The module's arrows are the
# repository's own module/areas.txt.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
check=$here/check-layers.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The clean tree: a file per folder kind, with includes the rules allow.
clean=$work/clean
put() { # FILE LINES...
  mkdir -p "$(dirname "$clean/$1")"
  local f=$1
  shift
  printf '%s\n' "$@" >"$clean/$f"
}
mkdir -p "$clean/module"
cp "$here/../module/areas.txt" "$clean/module/areas.txt"
put platform/base/include/base/B.h '#pragma once' '#include <string>'
put platform/cad/include/cad/C.h '#pragma once' '#include <base/B.h>'
put platform/cad/src/C.cpp '#include <cad/C.h>' '#include "C_p.h"'
put platform/cad/src/C_p.h '#pragma once'
put platform/ui/src/U.cpp '#include <QWidget>' '#include <ui/U.h>' '#include "U_p.h"'
put platform/ui/src/U_p.h '#pragma once'
put platform/ui/include/ui/U.h '#pragma once'
put platform/sheet/src/S.cpp '#include <sheet/S.h>' '#include "S_p.h"'
put platform/sheet/src/S_p.h '#pragma once'
put platform/sheet/control/src/G.cpp '#include <QPainter>' '#include "G_p.h"'
put platform/sheet/control/src/G_p.h '#pragma once'
put host/include/host/H.h '#pragma once' '#include <ui/U.h>' '#include <cad/C.h>'
put host/src/H.cpp '#include <host/H.h>' '#include "H_p.h"' '// #include "../../module/frame/F.h" (a comment)'
put host/src/H_p.h '#pragma once'
put module/frame/F.h '#pragma once' '#include <host/H.h>'
put module/frame/F.cpp '#include "frame/F.h"'
put module/calc/K.h '#pragma once' '#include "frame/F.h"' '#include <sheet/S.h>'
put module/calc/ui/DlgK.h '#pragma once' '#include "calc/K.h"'
put module/designer/D.h '#pragma once' '#include "frame/F.h"'
put module/library/L.h '#pragma once' '#include "calc/K.h"' '#include "frame/F.h"'
put module/production/P.cpp '#include "library/L.h"' '#include "calc/K.h"' '#include <cut/X.h>'
put module/macro/M.cpp '#include "designer/D.h"' '#include "library/L.h"' '#include "calc/K.h"'
put module/resources/module.cpp '#include "production/P.h"'
put apps/vorhost/V.cpp '#include <QApplication>' '#include "V.h"'
put apps/vorhost/V.h '#pragma once'
put tests/support/T.h '#pragma once'
put tests/host/HT.cpp '#include "../support/T.h"' '#include "calc/K.h"' '#include <gtest/gtest.h>'

failures=0
say() {
  echo "test-check-layers: $*"
  failures=$((failures + 1))
}

if ! out=$("$check" "$clean" 2>&1); then
  say "the clean tree fails:"
  echo "$out"
fi

# One wrong include per case: file @ the line planted at its end (in areas.txt: in place of the
# frame's row) @ why it is wrong
cases=(
  "host/src/H.cpp@#include <QString>@Qt in host"
  "platform/cad/src/C.cpp@#include <sheet/S.h>@the grid engine in cad"
  "module/calc/K.h@#include \"library/L.h\"@calc uses library, against the arrows"
  "module/designer/D.h@#include \"calc/K.h\"@designer uses calc, against the arrows"
  "module/frame/F.cpp@#include \"calc/ui/DlgK.h\"@the frame includes a dialog of calc/ui"
  "module/library/L.h@#include \"K.h\"@a module include that names no area"
  "module/calc/K.h@#include \"../../host/src/H_p.h\"@a module path out of module/"
  "host/src/H.cpp@#include \"../../module/frame/F.h\"@a host path out of host/"
  "platform/ui/src/U.cpp@#include \"H_p.h\"@a quoted include of another library's file"
  "platform/sheet/src/S.cpp@#include \"../control/src/G_p.h\"@the engine reaching into the grid control"
  "tests/host/HT.cpp@#include \"../../host/src/H_p.h\"@a test path out of tests/"
  "apps/vorhost/V.cpp@#include \"/usr/include/x.h\"@an absolute quoted path"
  "module/areas.txt@frame | production@an arrow that points down the table"
)
n=0
for c in "${cases[@]}"; do
  IFS='@' read -r file planted why <<<"$c"
  n=$((n + 1))
  tree=$work/case$n
  cp -r "$clean" "$tree"
  if [ "$file" = module/areas.txt ]; then
    sed -i -E "s/^frame *\\|.*\$/$planted/" "$tree/$file"
    expect="module/areas.txt: frame uses production"
  else
    echo "$planted" >>"$tree/$file"
    expect="$file:$(wc -l <"$tree/$file")"
  fi
  if out=$("$check" "$tree" 2>&1); then
    say "$why ($file: $planted) passes the check"
  elif ! grep -qF -- "$expect" <<<"$out"; then
    say "$why: the check fails without naming $expect:"
    echo "$out"
  elif [ "$(grep -c '^layers:' <<<"$out")" -ne 1 ]; then
    say "$why: the check names more than the planted include:"
    echo "$out"
  fi
done

# All at once: every one named in one run.
all=$work/all
cp -r "$clean" "$all"
expected=0
for c in "${cases[@]}"; do
  IFS='@' read -r file planted why <<<"$c"
  [ "$file" = module/areas.txt ] && continue
  echo "$planted" >>"$all/$file"
  expected=$((expected + 1))
done
out=$("$check" "$all" 2>&1) && say "every wrong include at once passes the check"
got=$(grep -c '^layers:' <<<"$out" || true)
[ "$got" -eq "$expected" ] || { say "every wrong include at once: $got named, $expected planted:"; echo "$out"; }

[ $failures -eq 0 ] && echo "test-check-layers: the clean tree passes and all ${#cases[@]} wrong includes are named"
exit $((failures > 0))
