#!/usr/bin/env bash
# Runs every fuzz target listed in a manifest ("binary|seed-corpus" per line) in parallel
# for a bounded time; fails when any target crashes or a sanitizer reports. A libFuzzer
# dictionary beside a seed corpus (fuzz/corpus/<name>.dict) is passed with -dict=.
set -uo pipefail
manifest=$1
seconds=${2:-60}
work=$(dirname "$manifest")/fuzz-work
mkdir -p "$work"
pids=(); names=()
while IFS='|' read -r bin seeds; do
  [[ -n "$bin" ]] || continue
  name=$(basename "$bin")
  corpus="$work/$name"
  mkdir -p "$corpus"
  dirs=("$corpus")
  [[ -d "$seeds" ]] && dirs+=("$seeds")
  options=()
  [[ -f "$seeds.dict" ]] && options+=(-dict="$seeds.dict")
  "$bin" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work/$name-" "${options[@]}" "${dirs[@]}" >"$work/$name.log" 2>&1 &
  pids+=($!); names+=("$name")
done < "$manifest"

status=0
for i in "${!pids[@]}"; do
  if wait "${pids[$i]}"; then
    echo "fuzz ${names[$i]}: clean ($(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$work/${names[$i]}.log" | grep -o '[0-9]*$') runs)"
  else
    echo "fuzz ${names[$i]}: FAILED"; tail -n 60 "$work/${names[$i]}.log"; status=1
  fi
done
exit $status
