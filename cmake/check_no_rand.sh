#!/usr/bin/env bash
# Fails when any program or library of ours imports the C library's rand or
# srand: the simulation's draws must come from the layer's own generator.
set -euo pipefail
bin="$1"
bad=0
for f in "$bin"/*; do
  [ -f "$f" ] || continue
  [ "$(head -c 4 "$f" | od -An -c | tr -d ' ')" = '177ELF' ] || continue
  if nm -D -u "$f" 2>/dev/null | awk '{print $NF}' | grep -qE '^(rand|srand)(@|$)'; then
    echo "$f imports rand/srand"
    bad=1
  fi
done
exit $bad
