#!/usr/bin/env bash
# Builds every libFuzzer target with clang (build-fuzz/) and runs each for the given
# seconds (default 60), at low priority, starting from its kept inputs. New inputs go to
# build-fuzz/corpus/<target>/; a crash leaves its input in build-fuzz/findings/.
# Usage: scripts/fuzz.sh [seconds] [target-name-filter]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
filter="${2:-}"
# clang and its libFuzzer runtime (Debian 12: clang-14, libclang-rt-14-dev), installed when missing.
missing=()
for p in clang-14 libclang-rt-14-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
bash scripts/setup.sh
cc="$(command -v clang-14 || command -v clang)"
cxx="$(command -v clang++-14 || command -v clang++)"
CC="$cc" CXX="$cxx" cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORN_FUZZ=ON >/dev/null
targets=$(ninja -C build-fuzz -t targets all | sed -n 's/^\([A-Za-z0-9_]*_fuzz\(_[a-z]*\)\?\): phony$/\1/p' | sort -u |
          grep -E "_fuzz($|_)" | grep -e "$filter" || true)
if [ -z "$targets" ]; then
  echo "fuzz: no targets" >&2
  exit 1
fi
cmake --build build-fuzz -j"${FUZZ_JOBS:-3}" --target $targets
seeds_of() {
  case "$1" in
    foundation_*_fuzz) echo "foundation/tests/data/fuzz/${1#foundation_}" | sed 's/_fuzz$//' ;;
    chartlib_fuzz_*) echo "chartlib/tests/data/fuzz/${1#chartlib_fuzz_}" ;;
    tutor_*_fuzz) echo "tutor/tests/data/fuzz/${1#tutor_}" | sed 's/_fuzz$//' ;;
    production_plant_fuzz) echo "production/tests/data/fuzz/plant" ;;
    platform_*_fuzz) echo "platform/tests/data/fuzz/${1#platform_}" | sed 's/_fuzz$//' ;;
    session_*_fuzz) echo "production/tests/data/fuzz/$(echo "${1#session_}" | sed 's/_fuzz$//')" ;;
    finance_state_fuzz) echo "finance/tests/data/fuzz/fnc" ;;
    marketing_*_fuzz) echo "marketing/tests/data/fuzz/$(echo "${1#marketing_}" | sed 's/_fuzz$//')" ;;
  esac
}
mkdir -p build-fuzz/findings
status=0
for t in $targets; do
  corpus="build-fuzz/corpus/$t"
  mkdir -p "$corpus"
  seeds="$(seeds_of "$t")"
  exe="$(find build-fuzz -type f -name "$t" -perm -u+x | head -1)"
  echo "fuzz: $t for ${seconds}s (seeds $seeds)"
  if ! QT_QPA_PLATFORM=offscreen nice -n 10 "$exe" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 \
      -artifact_prefix="build-fuzz/findings/$t-" -print_final_stats=1 "$corpus" ${seeds:+"$seeds"} \
      >"build-fuzz/$t.log" 2>&1; then
    echo "fuzz: $t FAILED, see build-fuzz/$t.log" >&2
    status=1
  fi
  grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "build-fuzz/$t.log" | sed "s/^/  /" || true
done
exit $status
