#!/usr/bin/env bash
# The main job: builds the library and ostrel-host, then runs the example
# scripts through the host driver as the Kelmor host would. Outputs in out/demo/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh build
cmake -S . -B build/demo -G Ninja -DCMAKE_BUILD_TYPE=Release -DOSTREL_BUILD_TESTS=OFF >/dev/null
cmake --build build/demo -j "$(nproc)" --target Ostrel ostrel-host
rm -rf out/demo && mkdir -p out/demo
for script in examples/*.host; do
  echo "==== $script"
  build/demo/bin/ostrel-host "$script"
done
echo "==== outputs in out/demo/"
ls -l out/demo
