#!/usr/bin/env bash
# Fails when a C++ file of the repository is not formatted as .clang-format
# says; prints the files. Fix with: clang-format -i FILE...
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bad=$(git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror 2>&1 |
  grep 'error:' | cut -d: -f1 | sort -u || true)
if [ -n "$bad" ]; then
  echo "check_format: not formatted (clang-format -i these):" >&2
  echo "$bad" >&2
  exit 1
fi
