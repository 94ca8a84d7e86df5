#!/usr/bin/env bash
# Checks the include arrows between the layers (docs/architecture.md) in the tree at ROOT (default:
# this repository). Prints every include that breaks a rule and fails when there is one.
#   <lib/...>   each folder may include only the libraries listed for it below;
#   "area/..."  in module/, an area may include only its own files and the areas module/areas.txt
#               lets it use (the same table the build links by);
#   "..."       elsewhere, a quoted include names a file of the including library's own folder;
#               no quoted include anywhere is absolute or climbs out of its library with ".."
#               (tests/, bench/ and fuzz/ count as one folder each).
# Usage: check-layers.sh [ROOT]
set -euo pipefail
root=${1:-"$(dirname "$0")/.."}
cd "$root"

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

# The folders of one library each: a quoted include outside module/ must name a file of the
# including file's own library. A folder inside another (platform/sheet/control) is a library of
# its own. Tests, benchmarks and fuzz targets reach internals through their include paths; for them
# only the escape rule holds.
libraries=(platform/base platform/cad platform/ui platform/sheet platform/sheet/control platform/cut
           host apps/vorhost apps/vorcut)
free_folders=(tests bench fuzz)

bad=0
fail() {
  echo "layers: $*"
  bad=1
}

# Lines "file:line:text" of the includes of a kind ('<' or '"') under a folder.
includes() { # FOLDER KIND
  [ -d "$1" ] || return 0
  grep -rn --include='*.h' --include='*.cpp' -E "^[[:space:]]*#[[:space:]]*include[[:space:]]*$2" "$1" || true
}
# Splits a line of includes() into $file, $where ("file:line") and $header (between <> or "").
split() {
  [[ $1 =~ ^([^:]*):([0-9]+):[^\"\<]*[\"\<]([^\"\>]*) ]] || return 1
  file=${BASH_REMATCH[1]}
  where=$file:${BASH_REMATCH[2]}
  header=${BASH_REMATCH[3]}
}

# -- <lib/...> by folder
for rule in "${rules[@]}"; do
  folder=${rule%%|*}
  allowed=" ${rule#*|} "
  while IFS= read -r line; do
    split "$line" || continue
    lib=${header%%/*}
    if [[ $header =~ ^Q[A-Za-z]*$ || $header =~ ^Qt[A-Za-z]*/ ]]; then
      lib=Qt
    elif [[ " $known " != *" $lib "* || $header != */* ]]; then
      continue # the standard library, system and other third-party headers
    fi
    [[ $allowed == *" $lib "* ]] || fail "$where includes <$header>, but $folder may use only:${allowed% }"
  done < <(includes "$folder" '<')
done

# -- the module's areas: module/areas.txt, "area | areas it may use", each using only areas above it
declare -A uses=()
areas=""
if [ -f module/areas.txt ]; then
  while IFS= read -r row; do
    [[ $row =~ ^([a-z]+)[[:space:]]*\|(.*)$ ]] || continue
    area=${BASH_REMATCH[1]}
    used=$(xargs <<<"${BASH_REMATCH[2]}")
    for u in $used; do
      [[ " $areas " == *" $u "* ]] || fail "module/areas.txt: $area uses $u, which is not an area listed above it"
    done
    uses[$area]="$area $used"
    areas="$areas $area"
  done <module/areas.txt
fi

# Whether quoted include HEADER of FILE leads out of FOLDER: an absolute path, or one whose ".."
# climbs above it.
leaves() { # FOLDER FILE HEADER
  [[ $3 == /* ]] && return 0
  [[ /$3/ == */../* ]] || return 1
  local to
  to=$(realpath -m --relative-to=. "$(dirname "$2")/$3")
  [[ $to != "$1"/* ]]
}

# -- quoted includes in module/: "area/...", of an area the including file's area may use
while IFS= read -r line; do
  split "$line" || continue
  if leaves module "$file" "$header"; then
    fail "$where includes \"$header\", a path out of its folder"
    continue
  fi
  rel=${file#module/}
  from=${rel%%/*}
  to=${header%%/*}
  if [[ $header != */* || /$header/ == */../* || " $areas " != *" $to "* ]]; then
    fail "$where includes \"$header\", which is no file of a module area (\"area/File.h\")"
  elif [[ -n ${uses[$from]+x} && " ${uses[$from]} " != *" $to "* ]]; then
    fail "$where includes \"$header\", but area $from may use only: ${uses[$from]}"
  fi # a file outside the areas (the shared library's own) may include every area
done < <(includes module '"')

# The library folder a file belongs to: the longest of the libraries that holds it.
library_of() {
  local best="" l
  for l in "${libraries[@]}"; do
    [[ $1 == "$l"/* && ${#l} -gt ${#best} ]] && best=$l
  done
  echo "$best"
}

# -- quoted includes outside module/: a file of the includer's own library
for folder in "${libraries[@]}" "${free_folders[@]}"; do
  while IFS= read -r line; do
    split "$line" || continue
    lib=$folder
    [[ " ${free_folders[*]} " == *" $folder "* ]] || lib=$(library_of "$file")
    [ "$lib" = "$folder" ] || continue # checked with its own, inner library
    if leaves "$lib" "$file" "$header"; then
      fail "$where includes \"$header\", a path out of $lib"
      continue
    fi
    [[ " ${free_folders[*]} " == *" $folder "* ]] && continue
    found=""
    beside=$(dirname "$file")/$header
    [[ /$header/ == */../* ]] && beside=$(realpath -m --relative-to=. "$beside")
    if [ -f "$beside" ] && [ "$(library_of "$beside")" = "$lib" ]; then
      found=yes
    else
      while IFS= read -r candidate; do
        [ "$(library_of "$candidate")" = "$lib" ] && found=yes && break
      done < <(find "$lib" -type f -path "*/$header")
    fi
    [ -n "$found" ] || fail "$where includes \"$header\", which is no file of $lib"
  done < <(includes "$folder" '"')
done
exit $bad
