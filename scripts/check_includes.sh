#!/usr/bin/env bash
# Checks that every include between the folders of src/ follows their order, bottom to top:
#   win, text  <  settings, mime  <  recipients  <  check  <  ui, memo  <  plugin  <  tester
# (the rule tester is a program of its own over the plug-in's code, signature blocks included).
# A file may include its own folder and any folder below it; win and text may include each
# other. Prints each include against the order and fails when there is one.
set -euo pipefail
src=${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../src" && pwd)}

rank() {
  case $1 in
    win | text) echo 0 ;;
    settings | mime) echo 1 ;;
    recipients) echo 2 ;;
    check) echo 3 ;;
    ui | memo) echo 4 ;;
    plugin) echo 5 ;;
    tester) echo 6 ;;
    *) echo -1 ;;
  esac
}

bad=0
while IFS= read -r -d '' file; do
  rel=${file#"$src"/}
  [[ $rel == */* ]] || continue
  own=${rel%%/*}
  own_rank=$(rank "$own")
  if ((own_rank < 0)); then
    echo "$rel: folder '$own' has no place in the order"
    bad=1
    continue
  fi
  while IFS= read -r line; do
    number=${line%%:*}
    target=$(sed -E 's/^[0-9]+:[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"/]+)\/.*/\1/' <<<"$line")
    [[ $target == "$own" ]] && continue
    target_rank=$(rank "$target")
    if ((target_rank < 0)); then
      echo "$rel:$number: includes '$target', which has no place in the order"
      bad=1
    elif ((target_rank > own_rank || (target_rank == own_rank && own_rank > 0))); then
      echo "$rel:$number: '$own' may not include '$target'"
      bad=1
    fi
  done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"/]+/' "$file" || true)
done < <(find "$src" -type f \( -name '*.h' -o -name '*.cpp' \) -print0)

if ((bad)); then
  echo "includes against the folder order"
  exit 1
fi
echo "includes follow the folder order"
