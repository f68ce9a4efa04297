#!/usr/bin/env bash
# Runs every fuzz target for FUZZ_SECONDS (default 20) from the corpus in
# tests/fuzz/corpus; new inputs go to a scratch copy under build/, crashes
# fail the run and are saved under build/fuzz/crashes.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${FUZZ_SECONDS:-20}
cd "$root"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
mkdir -p build/fuzz/crashes
for binary in build/fuzz/tests/fuzz/fuzz_*; do
  [ -x "$binary" ] || continue
  name=$(basename "$binary")
  scratch="build/fuzz/corpus/$name"
  rm -rf "$scratch" && mkdir -p "$scratch"
  cp tests/fuzz/corpus/"$name"/* "$scratch"/ 2>/dev/null || true
  echo "==> $name for ${seconds}s" >&2
  "$binary" -max_total_time="$seconds" -max_len=4096 -print_final_stats=0 \
    -artifact_prefix="build/fuzz/crashes/$name-" "$scratch" 2>build/fuzz/$name.log ||
    { tail -40 build/fuzz/$name.log >&2; exit 1; }
  grep -E '^#[0-9]+.*DONE' build/fuzz/$name.log | tail -1 >&2 || true
done
