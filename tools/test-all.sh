#!/usr/bin/env bash
# Builds and runs every test preset in turn: native Release, the sanitizers,
# the libFuzzer build's corpus replay, the cross builds where presets exist
# for them, and the macOS checks a Linux machine can make. Installs what it
# needs first.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh test

jobs="${OSTREL_JOBS:-$(nproc)}"
available=$(cmake --list-presets=test 2>/dev/null | sed -n 's/^ *"\([^"]*\)".*/\1/p')
passed=0; failed=0; status=0
for preset in release asan fuzz linux32 win64 win32 macos-checks; do
  echo "$available" | grep -qx "$preset" || continue
  echo "==== preset $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  log="build/$preset/ctest-summary.log"
  if ctest --preset "$preset" 2>&1 | tee "$log"; then :; else status=1; fi
  summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1 || true)
  if [ -n "$summary" ]; then
    total=$(echo "$summary" | sed -E 's/.* out of ([0-9]+).*/\1/')
    bad=$(echo "$summary" | sed -E 's/.*passed, ([0-9]+) tests failed.*/\1/')
    passed=$((passed + total - bad)); failed=$((failed + bad))
  else
    status=1
  fi
done
echo "all presets: $passed passed, $failed failed"
exit $status
