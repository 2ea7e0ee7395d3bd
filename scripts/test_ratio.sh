#!/bin/bash
# Lines of test code (tests/ and python/tests/) against the lines of the rest
# of the repository's code, counted over the files git tracks (.cpp .h .hpp
# .cc .c .qml .py). The project keeps the ratio between 0.25 and 0.35.
#
#   bash scripts/test_ratio.sh          # prints: tests N lines, rest M lines, ratio R
set -euo pipefail
cd "$(dirname "$0")/.."
count() { xargs -r -d '\n' cat -- | wc -l; }
files=$(git ls-files -- '*.cpp' '*.h' '*.hpp' '*.cc' '*.c' '*.qml' '*.py')
tests=$(grep -E '^(tests|python/tests)/' <<<"$files" | count)
rest=$(grep -vE '^(tests|python/tests)/' <<<"$files" | count)
awk -v t="$tests" -v r="$rest" 'BEGIN { printf "tests %d lines, rest %d lines, ratio %.2f\n", t, r, t / r }'
