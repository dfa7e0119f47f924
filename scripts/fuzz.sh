#!/usr/bin/env bash
# Fuzzes every reader of outside data: builds the fuzz preset (clang,
# libFuzzer, ASan, UBSan), writes the seed corpora with the project's own
# writers, replays the seeds, the corpora kept from earlier runs and the
# regression inputs through every target, then fuzzes each target for a
# while, two targets at a time. Fails on any crash, leak, sanitizer report,
# timeout or out-of-memory (256 MB and 1 s per input). Run scripts/setup.sh
# first.
#
# Usage: scripts/fuzz.sh [SECONDS_PER_TARGET]     default $FUZZ_SECONDS, else 45
#        FUZZ_TARGETS="patch_file midi_file" scripts/fuzz.sh 600
# Inputs found go to build/fuzz/corpus/work/<target>/ and are kept for the
# next run; a failing input is saved in build/fuzz/artifacts/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-${FUZZ_SECONDS:-45}}"
if ! [[ "$seconds" =~ ^[0-9]+$ ]]; then
  echo "fuzz: seconds per target must be a whole number, not '$seconds'" >&2
  exit 2
fi
all_targets=(state_chunk patch_file waveform_file timeline_preset midi_learn wav_import midi_file)
read -r -a targets <<<"${FUZZ_TARGETS:-${all_targets[*]}}"

# Largest inputs worth generating: a little over the largest seed of each kind.
declare -A max_len=(
  [state_chunk]=40960 [patch_file]=40960 [waveform_file]=20480 [timeline_preset]=4096
  [midi_learn]=2048 [wav_import]=16384 [midi_file]=4096)
# Every input within 256 MB and 1 s.
declare -A rss_mb timeout_s
for t in "${all_targets[@]}"; do
  rss_mb[$t]=256
  timeout_s[$t]=1
done

export ZELVANE_WERROR=ON
start=$SECONDS
echo "== build (preset fuzz)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

out=build/fuzz
bin=$out/fuzz
rm -rf "$out/corpus/seeds" "$out/logs"
mkdir -p "$out/logs"
echo "== seeds"
"$bin/zelvane-fuzz-seeds" "$out/corpus/seeds"

# The folders a target reads: seeds, kept corpus, committed regressions.
folders() {
  local t=$1
  mkdir -p "$out/corpus/work/$t"
  echo "$out/corpus/work/$t" "$out/corpus/seeds/$t"
  if [[ -d fuzz/regressions/$t ]]; then echo "fuzz/regressions/$t"; fi
}

run_target() {  # phase target
  local phase=$1 t=$2 log="$out/logs/$1-$2.log"
  local -a args common=(-rss_limit_mb="${rss_mb[$t]}" -timeout="${timeout_s[$t]}" -print_final_stats=1)
  read -r -a args <<<"$(folders "$t")"
  mkdir -p "$out/artifacts/$t"
  if [[ $phase == replay ]]; then
    # Whole inputs, however long: a regression input is never cut.
    local began=$SECONDS status=0
    "$bin/fuzz_$t" "${common[@]}" -runs=0 -artifact_prefix="$out/artifacts/$t/" "${args[@]}" \
      >"$log" 2>&1 || status=$?
    echo $((SECONDS - began)) >"$out/logs/replay-$t.seconds"
    return $status
  fi
  # Fuzzing starts by running the corpus again: that time comes on top.
  local load
  load=$(cat "$out/logs/replay-$t.seconds")
  # The instrument's own complaints about refused data go with stderr;
  # libFuzzer and the sanitizers report on a copy of it.
  "$bin/fuzz_$t" "${common[@]}" -max_len="${max_len[$t]}" -max_total_time=$((seconds + load)) \
    -close_fd_mask=2 -artifact_prefix="$out/artifacts/$t/" "${args[@]}" >"$log" 2>&1
}

failed=()
# Two targets at a time: the machine has two cores.
run_phase() {
  local phase=$1 i
  for ((i = 0; i < ${#targets[@]}; i += 2)); do
    local -a pids=() names=()
    for t in "${targets[@]:i:2}"; do
      run_target "$phase" "$t" &
      pids+=($!)
      names+=("$t")
    done
    for j in "${!pids[@]}"; do
      local t=${names[$j]}
      if wait "${pids[$j]}"; then
        echo "  $t: ok"
      else
        echo "  $t: FAILED ($phase), log $out/logs/$phase-$t.log"
        grep -E "ERROR|SUMMARY|runtime error|Test unit written|ALARM|out-of-memory|leak" \
          "$out/logs/$phase-$t.log" | head -8 | sed 's/^/    /'
        failed+=("$phase:$t")
      fi
    done
  done
}

echo "== replay of seeds, kept corpora and regressions"
run_phase replay
if ((${#failed[@]} == 0)); then
  echo "== fuzzing, ${seconds} s per target"
  run_phase fuzz
  echo "== figures"
  figure() { sed -n "s/^stat::$2: *//p" "$1" | tail -1; }
  printf "  %-16s %11s %7s %7s %8s %9s\n" target executions exec/s corpus slowest "peak RSS"
  for t in "${targets[@]}"; do
    log="$out/logs/fuzz-$t.log"
    corpus=$(grep -o 'corp: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
    printf "  %-16s %11s %7s %7s %7ss %7sMB\n" "$t" "$(figure "$log" number_of_executed_units)" \
      "$(figure "$log" average_exec_per_sec)" "$corpus" "$(figure "$log" slowest_unit_time_sec)" \
      "$(figure "$log" peak_rss_mb)"
  done
fi

echo "== $((SECONDS - start)) s in all"
if ((${#failed[@]} > 0)); then
  echo "fuzz: failed: ${failed[*]}" >&2
  exit 1
fi
echo "fuzz: no crash, leak, sanitizer report, timeout or out-of-memory"
