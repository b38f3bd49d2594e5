#!/usr/bin/env bash
# Installs the Debian packages listed in scripts/deps/*.txt (or only the lists named as
# arguments, e.g. "build") that are not installed yet.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
lists=("$@")
[ ${#lists[@]} -gt 0 ] || lists=(build test)
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
