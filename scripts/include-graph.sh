#!/usr/bin/env bash
# Prints how the program's folders include one another and checks the layers:
# includes run downward only, app -> ui/windows -> ui -> core -> content ->
# platform (config.h, made by CMake, is read by all); no folder of core/ takes a
# QtWidgets header; no loop of includes between files or between folders.
# Windows-only files count as much as the others. Exits 1 on any breach.
# Usage: include-graph.sh [<source folder> [<QtWidgets include folder>]]
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
SRC=$(cd "${1:-$ROOT/src}" && pwd)
WIDGETS=${2:-$(find /usr/include -maxdepth 3 -type d -path '*qt6/QtWidgets' -print -quit 2>/dev/null || true)}

# The layer of a folder: a folder may include its own layer and those below.
rank() {
  case $1 in
  config) echo 0 ;;
  platform | platform/*) echo 1 ;;
  content) echo 2 ;;
  core) echo 3 ;;
  ui) echo 4 ;;
  ui/windows) echo 5 ;;
  app) echo 6 ;;
  .) echo 7 ;;
  *) echo "" ;;
  esac
}
folder_of() {
  case $1 in
  config.h) echo config ;;
  */*) echo "${1%/*}" ;;
  *) echo . ;;
  esac
}

cd "$SRC"
mapfile -t sources < <(find . -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.h.in' \) | sed 's|^\./||' | sort)
# "from to" for every include of a file of the program, generated headers by
# the name they are included under.
edges=$(for file in "${sources[@]}"; do
  sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file" |
    while read -r included; do
      if [ -f "$included" ] || [ -f "$included.in" ]; then
        echo "${file%.in} $included"
      fi
    done
done)

failures=0
breach() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

echo "Includes by folder (count of include lines):"
folder_edges=$(while read -r from to; do
  [ -n "$from" ] || continue
  echo "$(folder_of "$from") $(folder_of "$to")"
done <<<"$edges" | sort | uniq -c | sort -k2,2 -k3,3)
while read -r count from to; do
  [ "$from" = "$to" ] && continue
  printf '  %-22s -> %-22s %3d\n' "$from" "$to" "$count"
done <<<"$folder_edges"

while read -r from to; do
  [ -n "$from" ] || continue
  from_folder=$(folder_of "$from")
  to_folder=$(folder_of "$to")
  from_rank=$(rank "$from_folder")
  to_rank=$(rank "$to_folder")
  if [ -z "$from_rank" ] || [ -z "$to_rank" ]; then
    breach "$from includes $to: a folder with no layer ($from_folder or $to_folder)"
  elif [ "$to_rank" -gt "$from_rank" ]; then
    breach "$from includes $to: $to_folder is above $from_folder"
  fi
done <<<"$edges"

if [ -z "$WIDGETS" ] || [ ! -d "$WIDGETS" ]; then
  breach "no QtWidgets include folder to check core/ against (give it as the second argument)"
else
  while IFS=: read -r file line header; do
    if [ -e "$WIDGETS/${header#QtWidgets/}" ]; then
      breach "$file:$line includes <$header>, a QtWidgets header"
    fi
  done < <(grep -rnoE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<[^>]+>' core |
    sed -E 's/:[[:space:]]*#[[:space:]]*include[[:space:]]*<([^>]+)>$/:\1/')
fi

# tsort names the members of every loop it meets on standard error.
if ! loops=$(tsort <<<"$edges" 2>&1 >/dev/null) || [ -n "$loops" ]; then
  breach "a loop of includes between files:"$'\n'"$loops"
fi
between_folders=$(awk '$2 != $3 { print $2, $3 }' <<<"$folder_edges")
if ! loops=$(tsort <<<"$between_folders" 2>&1 >/dev/null) || [ -n "$loops" ]; then
  breach "a loop of includes between folders:"$'\n'"$loops"
fi

if [ "$failures" -gt 0 ]; then
  echo "include graph: $failures breach(es)" >&2
  exit 1
fi
echo "include graph: every include runs downward, no loops"
