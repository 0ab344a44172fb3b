#!/usr/bin/env bash
# valgrind memcheck over an uninstrumented build of the tool: a real conversion, a
# dialogue, and a failed run must show no memory error and no leak of any kind.
set -euo pipefail
tool=$1
samples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

memcheck() {
    valgrind --quiet --error-exitcode=99 --leak-check=full --show-leak-kinds=all \
        --errors-for-leak-kinds=all "$tool" "$@"
}

memcheck 4p 2l "$samples/stripes-4bpp-planar.bin" "$work/out.bin" 10 > "$work/stdout"
[[ ! -s $work/stdout ]] || { echo "unexpected output"; exit 1; }

printf '4 0 8 1 %s %s 0' "$samples/stripes-4bpp-planar.bin" "$work/out8.bin" | memcheck > /dev/null
cmp "$work/out8.bin" "$samples/stripes-8bpp-linear.bin"

status=0
memcheck 4p 2l "$work/missing.bin" "$work/out.bin" > "$work/stdout" || status=$?
[[ $status -eq 1 ]] || { echo "failed run ended with status $status, expected 1"; exit 1; }
[[ $(cat "$work/stdout") == "Couldn't open file" ]]
echo "memcheck: ok"
