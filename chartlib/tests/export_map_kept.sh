#!/bin/sh
# A configure that changes nothing must leave the export map's time alone,
# or every configure relinks the library and all that links it.
# Arguments: cmake, the helper's file, a scratch folder.
set -eu
cmake="$1" helper="$2" dir="$3"
rm -rf "$dir" && mkdir -p "$dir"
write() {
  printf 'include("%s")\nvorn_write_if_changed("%s/qxi32.map" "%s")\n' "$helper" "$dir" "$1" >"$dir/write.cmake"
  "$cmake" -P "$dir/write.cmake"
}
write "{ global: QXI_A; local: *; };"
first=$(stat -c %y "$dir/qxi32.map")
sleep 0.05
write "{ global: QXI_A; local: *; };"
[ "$(stat -c %y "$dir/qxi32.map")" = "$first" ] || { echo "the same map was written again"; exit 1; }
write "{ global: QXI_B; local: *; };"
grep -q QXI_B "$dir/qxi32.map" || { echo "a changed map was not written"; exit 1; }
[ ! -e "$dir/qxi32.map.staged" ] || { echo "the staged copy was left behind"; exit 1; }
echo "export map kept when unchanged, rewritten when changed"
