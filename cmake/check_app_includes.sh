#!/usr/bin/env bash
# Fails when code of the application core (app/, its tests aside) includes
# a header of a department or of the tutorial player: the core sits below
# them and reaches them only through the department interface.
set -euo pipefail
app="$1"
hits=$(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](production|marketing|purchasing|finance|tutor|vorn)/' \
         --include='*.h' --include='*.hpp' --include='*.cpp' --include='*.cc' "$app" \
       | grep -v '/tests/' || true)
if [ -n "$hits" ]; then
  echo "app/ includes headers from above it:"
  echo "$hits"
  exit 1
fi
# The build files must not link a department either.
links=$(grep -rnE '\b(production|production_dept|marketing|purchasing|finance|vorn_assembly)[a-z_]*\b' \
          --include='CMakeLists.txt' "$app" | grep -v '/tests/' | grep -vE '^\S+:[0-9]+:\s*#' || true)
if [ -n "$links" ]; then
  echo "app/ build files name a department:"
  echo "$links"
  exit 1
fi
echo "app/ includes no department header"
