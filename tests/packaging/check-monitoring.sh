#!/bin/sh
# Checks the Prometheus configuration and alert rules of MONITORING.md as an owner copies them:
# every block after a "<!-- file: NAME -->" line is written to NAME, then promtool checks the
# configuration and the rules and runs the rules' tests.
#   check-monitoring.sh MONITORING.md RULE-TESTS.yml
set -eu
document=$1
tests=$2
if ! command -v promtool >/dev/null; then
    echo "promtool is not installed (Debian package prometheus): nothing checked"
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
awk -v into="$work" '
    /^<!-- file: .* -->$/ { name = $3; next }
    name != "" && /^```/ { if (inside) { inside = 0; name = "" } else inside = 1; next }
    inside { print > (into "/" name) }
' "$document"
for name in prometheus.yml quindle-alerts.yml; do
    [ -s "$work/$name" ] || { echo "$document has no block for $name"; exit 1; }
done
cp "$tests" "$work/rule-tests.yml"
cd "$work"
promtool check config prometheus.yml
promtool check rules quindle-alerts.yml
promtool test rules rule-tests.yml
