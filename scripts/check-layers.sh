#!/usr/bin/env bash
# Checks the include arrows between the layers (docs/architecture.md): each folder may include only
# the libraries listed for it. Prints every include that breaks a rule and fails when there is one.
set -euo pipefail
cd "$(dirname "$0")/.."

# folder | libraries its code may include (by the first part of <lib/...>); "Qt" allows Qt headers
rules=(
  "platform/base|base"
  "platform/cad|cad base"
  "platform/ui|ui base Qt"
  "platform/sheet/include|sheet base"
  "platform/sheet/src|sheet base"
  "platform/sheet/control|sheet ui base Qt"
  "host|host base cad ui"
  "module|host base cad ui sheet cut"
  "platform/cut|cut base"
  "apps/vorcut|cut base"
  "apps/vorhost|host base cad ui sheet Qt"
)
known="base cad ui sheet host cut"

bad=0
for rule in "${rules[@]}"; do
  folder=${rule%%|*}
  allowed=" ${rule#*|} "
  while IFS= read -r line; do
    file=${line%%:*}
    header=$(sed -E 's/.*#include *<([^>]*)>.*/\1/' <<<"${line#*:}")
    lib=${header%%/*}
    if [[ $header =~ ^Q[A-Za-z]*$ || $header =~ ^Qt[A-Za-z]*/ ]]; then
      lib=Qt
    elif [[ " $known " != *" $lib "* || $header != */* ]]; then
      continue # the standard library, system and other third-party headers
    fi
    if [[ $allowed != *" $lib "* ]]; then
      echo "layers: $file includes <$header>, but $folder may use only:${allowed% }"
      bad=1
    fi
  done < <(grep -rn --include='*.h' --include='*.cpp' -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*<' "$folder" \
           | sed -E 's/^([^:]*):[0-9]+:/\1:/' || true)
done

# The module's frame knows no dialog of the calculation tables; each area registers its own.
if grep -rn --include='*.h' --include='*.cpp' -E '#include *"calc/ui/' module/frame; then
  echo "layers: module/frame includes a dialog of calc/ui"
  bad=1
fi
exit $bad
