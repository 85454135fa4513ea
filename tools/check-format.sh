#!/usr/bin/env bash
# Checks that every C++ file of the tree is formatted as .clang-format says.
# Skipped, with a message, where clang-format is not installed.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang-format >/dev/null; then
    echo "clang-format is not installed: the formatting check is skipped"
    exit 0
fi
files=$(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' 2>/dev/null || find src tests bench tools -name '*.cpp' -o -name '*.h')
if ! clang-format --dry-run --Werror $files; then
    echo "Some files are not formatted: run 'make format'" >&2
    exit 1
fi
echo "Formatting checked: $(echo "$files" | wc -w) files"
