#!/usr/bin/env bash
# The layers of src/ run one way: a file includes headers of its own folder
# and of the folders below it, never of one above. resources/ (the resource
# identifiers) may be included from anywhere. Two arrows go up by design:
# the installation's shared record (driver/install_options.h) is read by the
# engine and the wizard, and the engine queues restart-time operations
# (startup/deferred_file.h).
set -euo pipefail
src=$1
layers=(common framework uninstall engine wizard driver startup)
upward_allowed=(driver/install_options.h startup/deferred_file.h)

bad=0
for ((level = 0; level < ${#layers[@]}; level++)); do
  folder=${layers[level]}
  above=("${layers[@]:level+1}")
  [ ${#above[@]} -gt 0 ] || continue
  while IFS= read -r hit; do
    header=$(sed -E 's/.*#include "([^"]+)".*/\1/' <<<"$hit")
    for allowed in "${upward_allowed[@]}"; do [ "$header" = "$allowed" ] && continue 2; done
    echo "$hit: $folder/ includes a header of a layer above it"
    bad=1
  done < <(grep -HnE "#include \"($(IFS='|'; echo "${above[*]}"))/" "$src/$folder"/*.h "$src/$folder"/*.cpp || true)
done
[ "$bad" = 0 ] && echo "include rules hold: ${layers[*]}"
exit $bad
