#!/usr/bin/env bash
# Holds every #include "folder/..." of the product's folders to the layer table in the README: a folder
# may include itself and the folders its row names. Prints one line per include against the table.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

declare -A allowed
while IFS='|' read -r _ folder _ includes _; do
  folder=$(echo "$folder" | tr -d ' `/')
  allowed[$folder]=" $folder $(echo "$includes" | tr -d '`/' | xargs) "
done < <(grep -E '^\| `[a-z]+/` \|' "$root/README.md")

if [ ${#allowed[@]} -eq 0 ]; then
  echo "FAILED: the README holds no layer table"; exit 1
fi

bad=0
for folder in "${!allowed[@]}"; do
  [ -d "$root/$folder" ] || { echo "layers: the README names $folder/, which does not exist"; bad=1; continue; }
  while IFS=: read -r file line target; do
    [[ "${allowed[$folder]}" == *" $target "* ]] && continue
    echo "layers: ${file#$root/}:$line includes $target/, which $folder/ may not include"
    bad=1
  done < <(grep -rnoE --include='*.h' --include='*.cpp' --include='*.rc' '^#include "[a-z_]+/' "$root/$folder" |
           sed -E 's/#include "([a-z_]+)\//\1/')
done
for dir in "$root"/*/; do
  name=$(basename "$dir")
  case $name in tests|bench|fuzz|scripts|cmake|build|dist|docs) continue ;; esac
  [ -n "${allowed[$name]:-}" ] || { echo "layers: $name/ has no row in the README's layer table"; bad=1; }
done
exit $bad
