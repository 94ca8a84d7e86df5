#!/usr/bin/env bash
# Fails when a C++ file of the tree is not formatted by the committed .clang-format; with --fix it
# formats them instead.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files -- '*.cpp' '*.h' 2>/dev/null || find . -path ./build\* -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
[ ${#files[@]} -eq 0 ] && exit 0
if [ "${1:-}" = "--fix" ]; then
    clang-format -i "${files[@]}"
    exit 0
fi
if ! clang-format --dry-run --Werror "${files[@]}" 2>/tmp/vor-format.$$; then
    grep -E '^[^ ].*: (error|warning):' /tmp/vor-format.$$ | cut -d: -f1 | sort -u | sed 's/^/format: not formatted: /'
    rm -f /tmp/vor-format.$$
    echo "format: run scripts/check-format.sh --fix" >&2
    exit 1
fi
rm -f /tmp/vor-format.$$
