#!/bin/sh
# The file-store and server-store benchmarks side by side (bench/BackendBench.cpp),
# on a private PostgreSQL server started for the run on a socket folder and
# stopped afterwards:
#   bench/server.sh [BUILD_DIR] [extra tempolatch-bench options]
set -eu
build=${1:-build}
[ $# -gt 0 ] && shift
here=$(dirname "$0")
work=$(mktemp -d)
trap '"$here/../tests/server/test-server" stop "$work"; rm -rf "$work"' EXIT
"$here/../tests/server/test-server" start "$work" >/dev/null
TEMPOLATCH_BENCH_SERVER=$(cat "$work/address") "$build/bench/tempolatch-bench" \
  --benchmark_filter='BM_Backend' "$@"
