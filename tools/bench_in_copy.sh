#!/bin/sh
# Runs vorn_bench over a copy of a data folder: the bench works in its
# scenario's folder and writes there, as the program does, while other tests
# copy the bundled folder. Usage: bench_in_copy.sh DATA_DIR BENCH ARGS...
data="$1" bench="$2"
shift 2
dir=$(mktemp -d) || exit 1
trap 'rm -rf "$dir"' EXIT
cp -r "$data"/. "$dir" || exit 1
"$bench" --scenario "$dir/SAMPLE.VNB" "$@"
