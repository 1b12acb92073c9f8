#!/usr/bin/env bash
# Formats every C++ file of the repository with clang-format (.clang-format).
#   scripts/format.sh          rewrite the files that differ
#   scripts/format.sh --check  change nothing; list the files that differ and fail
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
mapfile -t files < <(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' | sort -u)
[ ${#files[@]} -eq 0 ] && exit 0
if [ "${1:-}" = "--check" ]; then
  # One clang-format per file, in parallel; a file that differs prints its name.
  mapfile -t bad < <(printf '%s\0' "${files[@]}" | xargs -0 -r -P "$(nproc)" -I{} \
    sh -c 'clang-format --dry-run --Werror "$1" >/dev/null 2>&1 || echo "$1"' _ {} | sort)
  if [ ${#bad[@]} -gt 0 ]; then
    echo "These files differ from the code format (run scripts/format.sh):" >&2
    printf '  %s\n' "${bad[@]}" >&2
    exit 1
  fi
  echo "Code format: ${#files[@]} files checked"
else
  printf '%s\n' "${files[@]}" | xargs -r -P "$(nproc)" -n 16 clang-format -i
fi
