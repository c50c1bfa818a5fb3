#!/usr/bin/env bash
# Builds and runs every test preset in turn: native Release, the sanitizers,
# the libFuzzer build's corpus replay, the cross builds where presets exist
# for them, and the macOS checks a Linux machine can make. Installs what it
# needs first.
#
# Counts passed, skipped and failed tests per preset (CTest's own summary
# counts a skipped test as passed) and prints why each skipped test did not
# run. The exit status is 1 when a test failed or a preset did not build.
set -euo pipefail
cd "$(dirname "$0")/.."
start=$SECONDS
bash tools/install-deps.sh test

jobs="${OSTREL_JOBS:-$(nproc)}"
available=$(cmake --list-presets=test 2>/dev/null | sed -n 's/^ *"\([^"]*\)".*/\1/p')
passed=0; skipped=0; failed=0; status=0
report=""
for preset in release asan fuzz linux32 win64 win32 macos-checks; do
  echo "$available" | grep -qx "$preset" || continue
  echo "==== preset $preset"
  preset_start=$SECONDS
  log="build/$preset/ctest-summary.log"
  junit="$PWD/build/$preset/ctest-junit.xml"
  if ! { cmake --preset "$preset" -DOSTREL_WARNINGS_AS_ERRORS=ON >/dev/null && cmake --build --preset "$preset" -j "$jobs"; }; then
    status=1
    report+="$(printf '%-8s did not build' "$preset")"$'\n'
    continue
  fi
  rm -f "$junit"
  if ctest --preset "$preset" --output-junit "$junit" 2>&1 | tee "$log"; then :; else status=1; fi
  summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1 || true)
  if [ -z "$summary" ]; then
    status=1
    report+="$(printf '%-8s no test summary' "$preset")"$'\n'
    continue
  fi
  total=$(echo "$summary" | sed -E 's/.* out of ([0-9]+).*/\1/')
  bad=$(echo "$summary" | sed -E 's/.*passed, ([0-9]+) tests failed.*/\1/')
  skip=$(grep -cE '^[[:space:]]+[0-9]+ - .* \((Skipped|Disabled)\)$' "$log" || true)
  good=$((total - bad - skip))
  passed=$((passed + good)); skipped=$((skipped + skip)); failed=$((failed + bad))
  report+="$(printf '%-8s %4d passed, %3d skipped, %3d failed  (%ds)' \
    "$preset" "$good" "$skip" "$bad" $((SECONDS - preset_start)))"$'\n'
  if [ "$skip" -gt 0 ] && [ -f "$junit" ]; then
    # The first line each skipped test printed: its reason, counted once.
    reasons=$(awk '
      /<testcase / { notrun = ($0 ~ /status="notrun"/); next }
      notrun && /<system-out>/ { line = $0; sub(/.*<system-out>/, "", line); print line; notrun = 0 }
      notrun && /<\/testcase>/ { print "(no output)"; notrun = 0 }' "$junit" |
      sed -e 's/&quot;/"/g; s/&apos;/'"'"'/g; s/&lt;/</g; s/&gt;/>/g; s/&amp;/\&/g' | sort | uniq -c |
      sed -E 's/^ *([0-9]+) (.*)/           \1 skipped: \2/')
    report+="$reasons"$'\n'
  fi
done
# The deliverables as a plug-in author receives them, from the builds above.
echo "==== package"
if bash tools/package.sh >/dev/null && bash tools/check-dist.sh; then
  report+="package  dist/ laid out and checked"$'\n'
else
  status=1
  report+="package  dist/ failed its checks"$'\n'
fi
echo "==== summary"
printf '%s' "$report"
echo "all presets: $passed passed, $skipped skipped, $failed failed in $((SECONDS - start)) s"
exit $status
