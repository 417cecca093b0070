#!/usr/bin/env bash
# Builds the Debian packages with scripts/package, checks them with lintian,
# installs them with dpkg, runs the installed scan service on a private bus and
# scans sample documents with it, checks the menu entry, the polkit action and
# the confined systemd unit, then purges the packages and checks that nothing of
# them is left. Exit status 77 (skipped, with the reason) where it may not or
# cannot run. DISCOVERY_PACKAGE_DEBS_DIR=DIR takes the packages that
# scripts/package built into DIR instead of building them again.
set -euo pipefail

readonly PACKAGES=(tavex-control-discovery-service tavex-control-discovery-client tavex-control-discovery-tools)
readonly PRODUCT_DIRS=(/opt/tavex-control-discovery /opt/tavex-control-discovery-client)
readonly POLKIT_ACTION=com.vorel.dlp.discovery.run-client
readonly DESKTOP_ENTRY=/usr/share/applications/com.vorel.dlp.discovery.desktop
readonly UNIT=/lib/systemd/system/tavex-control-discovery-service.service
# The highest exposure "systemd-analyze security" may rate the unit ("OK").
readonly MAX_EXPOSURE=3.0
readonly SCAN_SECONDS=120

top="${DISCOVERY_SOURCE_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}"
DISCOVERY_SOURCE_DIR="$top"
# shellcheck source=tests/package/servicebus.sh
source "$top/tests/package/servicebus.sh"

skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAIL: $*" >&2; exit 1; }
step() { echo; echo "== $*"; }

if [ "${CI:-}" != true ] && [ "${DISCOVERY_PACKAGE_TEST:-}" != 1 ]; then
  skip "installs and purges the product's Debian packages on this machine; set DISCOVERY_PACKAGE_TEST=1 (or CI=true) to allow it"
fi
command -v dpkg-buildpackage >/dev/null || skip "dpkg-buildpackage is not installed"
command -v dh >/dev/null || skip "debhelper is not installed"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo -n true 2>/dev/null || skip "dpkg -i needs root (or sudo without a password)"
  sudo="sudo -n"
fi
for p in "${PACKAGES[@]}"; do
  if dpkg-query -W -f='${db:Status-Abbrev}' "$p" 2>/dev/null | grep -q '^.i'; then
    skip "$p is installed on this machine already; the test would purge it"
  fi
done
# Purging removes the product's state under /opt: where a build-tree run
# (scripts/run) left a findings store, checklists or a log, the test would
# destroy them.
for d in "${PRODUCT_DIRS[@]}"; do
  [ -e "$d" ] && skip "$d holds the product's data on this machine; purging the packages would remove it"
done

work=$(mktemp -d "${TMPDIR:-/tmp}/tavex-package-test.XXXXXX")
chmod 0755 "$work"
pids=()
installed=0
cleanup() {
  local p
  for p in "${pids[@]}"; do $sudo kill "$p" 2>/dev/null || true; done
  if [ "$installed" -eq 1 ]; then
    $sudo dpkg --purge "${PACKAGES[@]}" >/dev/null 2>&1 || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

if [ -n "${DISCOVERY_PACKAGE_DEBS_DIR:-}" ]; then
  # A developer's second run: the packages scripts/package built before.
  step "The packages of $DISCOVERY_PACKAGE_DEBS_DIR"
  mkdir "$work/dist"
  cp "$DISCOVERY_PACKAGE_DEBS_DIR"/tavex-control-discovery*_*.deb "$DISCOVERY_PACKAGE_DEBS_DIR"/tavex-control-discovery_*.changes \
     "$DISCOVERY_PACKAGE_DEBS_DIR"/tavex-control-discovery_*.buildinfo "$work/dist/"
else
  step "Building the packages"
  DISCOVERY_DIST_DIR="$work/dist" "$top/scripts/package"
fi
debs=("$work"/dist/*.deb)
[ "${#debs[@]}" -eq "${#PACKAGES[@]}" ] || fail "expected ${#PACKAGES[@]} packages, got: ${debs[*]}"

step "lintian"
lintian --fail-on error,warning --display-info "$work"/dist/*.changes \
  || fail "lintian reports errors or warnings without an override (above)"

step "Installing"
installed=1
$sudo dpkg -i "${debs[@]}"
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${db:Status-Abbrev}' "$p" | grep -q '^ii' || fail "$p is not installed"
done
service=/usr/bin/tavex-control-discovery-service
for program in "$service" /usr/bin/tavex-control-discovery-client /usr/bin/kwtemplate-import /usr/bin/tavex-discovery-report; do
  [ -x "$program" ] || fail "$program is not installed"
  ! ldd "$program" | grep 'not found' || fail "$program needs libraries its package does not depend on"
done
for page in tavex-control-discovery-service.8 tavex-control-discovery-client.1 kwtemplate-import.1 tavex-discovery-report.1; do
  dpkg -L "${PACKAGES[@]}" | grep -q "/man/man${page##*.}/$page.gz$" || fail "no man page $page"
done

step "The installed service on a private bus"
start_private_bus
address="$DBUS_SYSTEM_BUS_ADDRESS"
$sudo env DBUS_SYSTEM_BUS_ADDRESS="$address" "$service" --findings-db "$work/state/findings.db" \
  >"$work/service.log" 2>&1 &
pids+=($!)
wait_for_service 100 || { cat "$work/service.log"; fail "the installed service did not come up on the bus"; }

samples="$work/samples"
QT_QPA_PLATFORM=offscreen "$SAMPLE_FILES" "$samples" >/dev/null
docx="$samples/项目资料/投标方案.docx"
[ -f "$docx" ] || fail "the sample program made no $docx"
policy=$(printf '%s' '{"version":"1.0","policies":[{"ruleset":{"detect_ruleset":{"filetype_detect_ruleset":[{"filetypes":["txt","docx","pdf"]}],"keyword_detect_ruleset":[{"keywords":[{"pattern":"机密"}]}],"dataidentifier_detect_ruleset":false},"response_ruleset":[{"action":"WriteDatabase"}]}}]}' | base64 -w0)
reply=$(call SensitiveDiscoverySetScanTask "$samples" 1 1 "" "" 0.5 "$policy")
[ "$reply" = "(0,)" ] || fail "creating the scan task replied $reply"
status=""
for _ in $(seq $((SCAN_SECONDS * 2))); do
  status=$(call SensitiveDiscoveryGetScanTaskDetail "$samples" 1 2>/dev/null || true)
  case "$status" in *"'completed'"*) break ;; esac
  sleep 0.5
done
echo "task: $status"
case "$status" in *"'completed'"*) ;; *) cat "$work/service.log"; fail "the scan did not complete within $SCAN_SECONDS s" ;; esac
# A DOCX is read by an extraction worker: a hit there shows that the installed
# program starts its workers (as nobody, since it runs as root) and reads through them.
detail=$(call SensitiveDiscoveryGetKeywordDetectedDetail "$samples" 1 "$docx")
echo "detail: $detail"
case "$detail" in "(0, '"*机密*) ;; *) cat "$work/service.log"; fail "no hit of 机密 in $docx" ;; esac

step "tavex-discovery-report"
# The installed tool over the installed service: the run just made, exported.
runs=$($sudo env DBUS_SYSTEM_BUS_ADDRESS="$address" /usr/bin/tavex-discovery-report list) \
  || fail "tavex-discovery-report list failed"
echo "$runs"
run=$(printf '%s\n' "$runs" | awk -v p="$samples" '$NF == p { print $1; exit }')
[ -n "$run" ] || fail "tavex-discovery-report lists no run of $samples"
$sudo env DBUS_SYSTEM_BUS_ADDRESS="$address" /usr/bin/tavex-discovery-report export "$run" --format html -o "$work/report.html" \
  || fail "tavex-discovery-report export failed"
grep -q '<svg' "$work/report.html" || fail "the exported report holds no chart"

step "kwtemplate-import"
printf '机密\nconfidential\n' >"$work/words.txt"
/usr/bin/kwtemplate-import --db "$work/state/kwtemplate.db" "Sample" "$work/words.txt"
[ -s "$work/state/kwtemplate.db" ] || fail "kwtemplate-import made no database"

step "The menu entry"
desktop-file-validate "$DESKTOP_ENTRY" || fail "desktop-file-validate refuses $DESKTOP_ENTRY"
exec_line=$(sed -n 's/^Exec=//p' "$DESKTOP_ENTRY")
read -r launcher client_program _ <<<"$exec_line"
[ "$launcher" = pkexec ] || fail "the menu entry does not start the client through pkexec: $exec_line"
[ -x "$client_program" ] || fail "the menu entry starts $client_program, which is not installed"
appstreamcli validate --no-net /usr/share/metainfo/com.vorel.dlp.discovery.metainfo.xml \
  || fail "appstreamcli refuses the AppStream metadata"

step "The polkit action"
polkitd=/usr/lib/polkit-1/polkitd
if command -v pkaction >/dev/null && [ -x "$polkitd" ]; then
  # polkitd serves the installed actions on the private bus.
  $sudo env DBUS_SYSTEM_BUS_ADDRESS="$address" "$polkitd" --no-debug >"$work/polkitd.log" 2>&1 &
  pids+=($!)
  action=""
  for _ in $(seq 100); do
    action=$(pkaction --verbose --action-id "$POLKIT_ACTION" 2>/dev/null) && break
    sleep 0.1
  done
  echo "$action"
  [ -n "$action" ] || { cat "$work/polkitd.log"; fail "pkaction does not know $POLKIT_ACTION"; }
  grep -Eq 'implicit active: +auth_admin_keep$' <<<"$action" || fail "the action does not ask for an administrator's password (auth_admin_keep)"
  grep -Eq "org.freedesktop.policykit.exec.path -> $client_program$" <<<"$action" \
    || fail "the action's exec.path is not the program the menu entry starts ($client_program)"
  grep -Eq 'org.freedesktop.policykit.exec.allow_gui -> true$' <<<"$action" || fail "the action does not pass the display on"
else
  echo "polkit is not installed: pkaction not run"
fi

step "The systemd unit"
systemd-analyze verify --man="$(command -v man >/dev/null && echo yes || echo no)" "$UNIT" \
  || fail "systemd-analyze verify refuses $UNIT"
# The one directory the sandbox lets the service write must be that of its default findings store
# (the one default that is a database: the log socket has a default path too).
# --help wraps its lines, dropping the space at a break: join them, then take the one default that is a path.
default_db=$("$service" --help | sed -e ':a' -e 'N' -e '$!ba' -e 's/\n *//g' | grep -o '(default \?/[^)]*\.db)' | sed 's/^(default \?//; s/)$//')
[ -n "$default_db" ] || fail "the service's --help names no default findings database"
writable=$(sed -n 's/^ReadWritePaths=//p' "$UNIT")
[ "$writable" = "$(dirname "$default_db")" ] || fail "the unit lets the service write $writable, but its findings store is $default_db"
security=$(systemd-analyze security --offline=true "$UNIT" 2>&1) || true
score=$(sed -n 's/^→ Overall exposure level for .*: \([0-9.]*\) .*/\1/p' <<<"$security")
[ -n "$score" ] || { echo "$security"; fail "systemd-analyze security gave no score"; }
echo "systemd-analyze security: exposure $score (at most $MAX_EXPOSURE)"
awk -v s="$score" -v m="$MAX_EXPOSURE" 'BEGIN { exit !(s <= m) }' \
  || { echo "$security"; fail "exposure $score is above $MAX_EXPOSURE"; }

step "Purging"
for p in "${pids[@]}"; do $sudo kill "$p" 2>/dev/null || true; done
pids=()
mapfile -t files < <(dpkg -L "${PACKAGES[@]}" | grep -vx '/\.' | sort -u)
$sudo dpkg --purge "${PACKAGES[@]}"
installed=0
for p in "${PACKAGES[@]}"; do
  if dpkg-query -W -f='${db:Status-Abbrev}' "$p" 2>/dev/null | grep -q '^.[^n]'; then
    fail "$p is still known to dpkg after the purge"
  fi
done
left=()
for f in "${files[@]}"; do
  [ -e "$f" ] || continue
  # Directories of other packages too (/usr, /usr/share/icons/hicolor/…) stay.
  if [ ! -d "$f" ] || ! dpkg-query -S "$f" >/dev/null 2>&1; then
    left+=("$f")
  fi
done
[ "${#left[@]}" -eq 0 ] || fail "left after the purge: ${left[*]}"
for d in "${PRODUCT_DIRS[@]}"; do
  [ -e "$d" ] && fail "$d is left after the purge"
done
[ ! -e /etc/systemd/system/multi-user.target.wants/tavex-control-discovery-service.service ] \
  || fail "the unit is still enabled after the purge"
echo
echo "PASS: packages built, lintian clean, installed, service scanned, entry/action/unit checked, purged clean"
