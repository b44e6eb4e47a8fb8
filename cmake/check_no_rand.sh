#!/usr/bin/env bash
# Every draw of the program comes from the running session's generator.
# Fails when
# - a program or library of ours (tests aside) imports the C library's
#   generators, or the layer's process-wide one (plat::crt_rand/crt_srand);
# - a source file outside platform/ and the tests calls the layer's
#   process-wide generator, the C library's, or makes a generator of the
#   standard library.
# Usage: check_no_rand.sh <bin dir> [<source dir>]; either may be "-".
set -euo pipefail
bin="${1:--}"
src="${2:--}"
bad=0

if [ "$bin" != "-" ]; then
  for f in "$bin"/*; do
    [ -f "$f" ] || continue
    [ "$(head -c 4 "$f" | od -An -c | tr -d ' ')" = '177ELF' ] || continue
    imports=$(nm -D -u "$f" 2>/dev/null | awk '{print $NF}')
    if grep -qE '^(rand|srand|random|srandom|rand_r|drand48|lrand48|mrand48|srand48)(@|$)' <<<"$imports"; then
      echo "$f imports a generator of the C library"
      bad=1
    fi
    case "$(basename "$f")" in
      *_tests|*_fuzz|libplatform.so*) continue ;;
    esac
    if grep -qE '^_ZN4plat(8crt_randEv|9crt_srandEj)(@|$)' <<<"$imports"; then
      echo "$f calls the process-wide generator plat::crt_rand/crt_srand"
      bad=1
    fi
  done
fi

if [ "$src" != "-" ]; then
  # Comments are dropped first, so prose about the generators does not count.
  pattern='crt_s?rand[[:space:]]*\(|std::s?rand[[:space:]]*\(|(^|[^[:alnum:]_:])::s?rand[[:space:]]*\(|(^|[^[:alnum:]_.>:])s?rand48[[:space:]]*\(|(^|[^[:alnum:]_.>:])s?random[[:space:]]*\(|random_device|mt19937|default_random_engine|minstd_rand|ranlux[0-9]|knuth_b'
  while IFS= read -r -d '' f; do
    rel="${f#"$src"/}"
    case "/$rel" in
      /platform/*|*/tests/*|/build*/*|/.git/*) continue ;;
    esac
    hits=$(sed -e 's://.*$::' "$f" | grep -nE "$pattern" || true)
    if [ -n "$hits" ]; then
      while IFS= read -r line; do
        echo "$rel:$line: a draw outside the session's generator"
      done <<<"$hits"
      bad=1
    fi
  done < <(find "$src" \( -name build -o -name 'build-*' -o -name .git \) -prune -o \
             -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.cc' -o -name '*.hpp' \) -print0)
fi
exit $bad
