#!/usr/bin/env bash
# Fails when a C++ file under src/, tests/, bench/ or tools/ differs from what
# clang-format makes of it (.clang-format at the top). With --fix it rewrites them.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
fmt="${CLANG_FORMAT:-clang-format}"
if ! command -v "$fmt" >/dev/null; then
  echo "check-format: $fmt not found (scripts/install-deps.sh installs it)" >&2
  exit 1
fi
mapfile -d '' files < <(find src tests bench tools -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)
if [ "${1:-}" = "--fix" ]; then
  printf '%s\0' "${files[@]}" | xargs -0 -n 50 "$fmt" -i
  exit 0
fi
if ! printf '%s\0' "${files[@]}" | xargs -0 -n 50 "$fmt" --dry-run --Werror 2>/tmp/check-format.$$; then
  grep -o '^[^:]*\.\(cpp\|h\):[0-9]*' /tmp/check-format.$$ | sort -u | head -40 >&2
  echo "check-format: files above differ from clang-format; run scripts/check-format.sh --fix" >&2
  rm -f /tmp/check-format.$$
  exit 1
fi
rm -f /tmp/check-format.$$
echo "check-format: ${#files[@]} files as clang-format makes them"
