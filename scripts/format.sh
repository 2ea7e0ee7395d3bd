#!/bin/bash
# Applies .clang-format to the tracked C++ files (or to the files given).
#   bash scripts/format.sh            # the whole tree
#   bash scripts/format.sh a.cpp b.h  # just these
#   CHECK=1 bash scripts/format.sh    # change nothing; list the files that would change
# clang-format 14 (Debian 12's) is the reference: another version may break
# a few lines differently.
set -e
cd "$(dirname "$0")/.."
CLANG_FORMAT=${CLANG_FORMAT:-$(command -v clang-format-14 || command -v clang-format)}
[ -n "$CLANG_FORMAT" ] || { echo "format: clang-format not found (apt-get install clang-format)" >&2; exit 1; }
if [ $# -gt 0 ]; then
  files=("$@")
else
  mapfile -t files < <(git ls-files '*.cpp' '*.h' '*.c')
fi
if [ -n "$CHECK" ]; then
  status=0
  for f in "${files[@]}"; do
    "$CLANG_FORMAT" --style=file "$f" | cmp -s - "$f" || { echo "$f"; status=1; }
  done
  exit $status
fi
printf '%s\0' "${files[@]}" | xargs -0 "$CLANG_FORMAT" -i --style=file
