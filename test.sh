#!/usr/bin/env bash
# Sets up what is missing, builds with AddressSanitizer and UBSan, fuzzes each file
# loader for a short while, and runs every test.
set -euo pipefail
cd "$(dirname "$0")"

scripts/ensure-packages.sh --test

# Which folder may include which (an allow-list): kinds are wired in src/app/ only.
scripts/check-layers.sh
# What the desktop and the software centres read, and the manual page.
echo "== Checking the desktop files"
# A hint is as much a finding as an error; groff warns of what it cannot render.
desktop_notes=$(desktop-file-validate desktop/hutchlore.desktop 2>&1) || true
if [ -n "$desktop_notes" ]; then
  echo "$desktop_notes"
  exit 1
fi
appstreamcli validate --no-net desktop/org.hutchlore.hutchlore.metainfo.xml
man_warnings=$(MANWIDTH=80 man --warnings -l desktop/hutchlore.1 2>&1 >/dev/null)
if [ -n "$man_warnings" ]; then
  echo "$man_warnings"
  echo "The manual page desktop/hutchlore.1 does not render cleanly."
  exit 1
fi

jobs=$(nproc)
# ccache, where installed, makes a rebuild after a branch switch cheap.
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi

echo "== Building with sanitizers"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DHUTCHLORE_SANITIZE=ON \
      -DHUTCHLORE_BENCH=OFF "${launcher[@]}" > build-asan.log 2>&1 || { cat build-asan.log; exit 1; }
cmake --build build-asan -j"$jobs"

# Fuzz each loader on its seed corpus (clang's libFuzzer). A run that needs more than
# 512 MB in one allocation or 2 GB in all is a finding: no record or picture should.
fuzz_seconds=${HUTCHLORE_FUZZ_SECONDS:-20}
if command -v clang++ >/dev/null 2>&1 && [ "$fuzz_seconds" -gt 0 ]; then
  echo "== Fuzzing the file loaders (${fuzz_seconds}s each)"
  cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
        -DHUTCHLORE_FUZZ=ON -DHUTCHLORE_TESTS=OFF -DHUTCHLORE_BENCH=OFF > build-fuzz.log 2>&1 \
    || { cat build-fuzz.log; exit 1; }
  targets=$(cd fuzz && for source in fuzz_*.cpp; do echo "${source%.cpp}"; done)
  # shellcheck disable=SC2086
  cmake --build build-fuzz -j"$jobs" --target $targets
  for target in $targets; do
    kind=${target#fuzz_}
    work=build-fuzz/corpus-$kind
    mkdir -p "$work"
    cp -n fuzz/corpus/"$kind"/* "$work"/ 2>/dev/null || true
    if ! ./build-fuzz/fuzz/"$target" -max_total_time="$fuzz_seconds" -timeout=10 \
         -rss_limit_mb=2048 -malloc_limit_mb=512 "$work" \
         > "build-fuzz/$target.log" 2>&1; then
      tail -n 40 "build-fuzz/$target.log"
      echo "Fuzzing $target found a failure (log: build-fuzz/$target.log)"
      exit 1
    fi
    echo "$target: $(grep -c '' "build-fuzz/$target.log") log lines, no failure"
  done
fi

echo "== Running the tests"
cd build-asan
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs"
