#!/usr/bin/env bash
# Installs the Debian packages listed in scripts/deps/*.txt (or only the lists named as
# arguments, e.g. "build") that are not installed yet. The benchmark list (46 MB of
# photographs that no test reads) is installed only when it is named.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
lists=("$@")
if [ ${#lists[@]} -eq 0 ]; then
  for file in "$here"/deps/*.txt; do
    [ "$(basename "$file")" = benchmark.txt ] || lists+=("$(basename "$file" .txt)")
  done
fi
packages=()
for list in "${lists[@]}"; do
  while read -r package; do
    package=${package%%#*}
    package=$(echo "$package" | tr -d '[:space:]')
    [ -n "$package" ] || continue
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || packages+=("$package")
  done < "$here/deps/$list.txt"
done
[ ${#packages[@]} -gt 0 ] || exit 0
echo "Installing: ${packages[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${packages[@]}"
