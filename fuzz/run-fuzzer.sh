#!/usr/bin/env bash
# run-fuzzer.sh FUZZER WORKDIR SEEDDIR SECONDS: runs a libFuzzer target for a
# bounded time on a copy of its seed corpus; any crash, leak or sanitizer
# report fails the run. Prints the executions it made.
set -u
fuzzer="$1" work="$2" seeds="$3" seconds="$4"
mkdir -p "$work/corpus" "$work/artifacts"
[ -d "$seeds" ] && cp -n "$seeds"/* "$work/corpus/" 2>/dev/null
"$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$work/artifacts/" "$work/corpus" 2>"$work/log"
status=$?
grep -E 'stat::number_of_executed_units|Done [0-9]+ runs' "$work/log"
if [ $status -ne 0 ]; then tail -n 60 "$work/log"; fi
exit $status
