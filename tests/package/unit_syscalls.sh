#!/usr/bin/env bash
# Runs the scan service (build tree) under strace on a private bus while it
# scans sample documents (a privacy task, and an idle-time keyword task whose
# workers run at low priority), and checks what it did against the sandbox of
# its systemd unit: every system call is in the unit's SystemCallFilter, every
# socket is AF_UNIX (RestrictAddressFamilies), and no memory is mapped both
# writable and executable (MemoryDenyWriteExecute). Under systemd a call
# outside the filter fails with EPERM, which no other test would see.
# Exit status 77 (skipped, with the reason) without strace or ptrace.
set -euo pipefail
# shellcheck source=tests/package/servicebus.sh
source "$DISCOVERY_SOURCE_DIR/tests/package/servicebus.sh"

readonly SCAN_SECONDS=120

skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAIL: $*" >&2; exit 1; }

command -v strace >/dev/null || skip "strace is not installed"
command -v systemd-analyze >/dev/null || skip "systemd-analyze is not installed"
strace -qq -o /dev/null true 2>/dev/null || skip "strace may not trace here (ptrace refused)"
[ -f "$UNIT" ] || fail "no unit $UNIT"

work=$(mktemp -d "${TMPDIR:-/tmp}/tavex-unit-syscalls.XXXXXX")
chmod 0755 "$work"
pids=()
cleanup() {
  local p
  for p in "${pids[@]}"; do pkill -KILL -P "$p" 2>/dev/null || true; kill "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

start_private_bus

QT_QPA_PLATFORM=offscreen "$SAMPLE_FILES" "$work/samples" >/dev/null
echo 100 >"$work/idle"
# The unit's environment, so that the service runs as it would under systemd.
mapfile -t unit_env < <(sed -n 's/^Environment=//p' "$UNIT")
env "${unit_env[@]}" strace -f -qq -o "$work/trace" \
  "$SERVICE" --findings-db "$work/findings.db" --fake-cpu-idle "$work/idle" >"$work/service.log" 2>&1 &
pids+=($!)
wait_for_service 200 || true

policy=$(printf '%s' '{"version":"1.0","policies":[{"ruleset":{"detect_ruleset":{"filetype_detect_ruleset":[{"filetypes":["txt","docx","xlsx","pptx","pdf","doc","xls","ppt","zip","gz","tar","7z","rar"]}],"keyword_detect_ruleset":[{"keywords":[{"pattern":"机密"}]}],"dataidentifier_detect_ruleset":false},"response_ruleset":[{"action":"WriteDatabase"}]}}]}' | base64 -w0)
# A keyword task in idle-time mode (scan mode 4) and a privacy task (type 3).
for task in "1 4" "3 1"; do
  read -r type mode <<<"$task"
  reply=$(call SensitiveDiscoverySetScanTask "$work/samples" "$type" "$mode" "" "" 0.5 "$policy") \
    || { cat "$work/service.log"; fail "the service is not on the bus"; }
  [ "$reply" = "(0,)" ] || fail "creating task type $type mode $mode replied $reply"
done
for type in 1 3; do
  status=""
  for _ in $(seq $((SCAN_SECONDS * 2))); do
    status=$(call SensitiveDiscoveryGetScanTaskDetail "$work/samples" "$type" 2>/dev/null || true)
    case "$status" in *"'completed'"*) break ;; esac
    sleep 0.5
  done
  case "$status" in *"'completed'"*) ;; *) cat "$work/service.log"; fail "task type $type did not complete: $status" ;; esac
done
# End the service itself (strace's child): strace then writes its last lines and ends.
strace_pid="${pids[1]}"
service_pid=$(pgrep -P "$strace_pid" || true)
[ -n "$service_pid" ] && kill "$service_pid"
wait "$strace_pid" 2>/dev/null || true
pids=("$bus_pid")

# The system calls the unit allows: its allow lists, less its deny ("~") lists.
expand() {
  local item
  for item in "$@"; do
    case "$item" in
      @*) systemd-analyze syscall-filter "$item" | sed -n 's/^    \([^#]\)/\1/p' | while read -r sub; do expand "$sub"; done ;;
      *) echo "$item" ;;
    esac
  done
}
: >"$work/allowed"
: >"$work/denied"
while read -r value; do
  # shellcheck disable=SC2086
  case "$value" in
    "~"*) expand ${value#\~} >>"$work/denied" ;;
    *) expand $value >>"$work/allowed" ;;
  esac
done < <(sed -n 's/^SystemCallFilter=//p' "$UNIT")
[ -s "$work/allowed" ] || fail "the unit has no system call allow list"
sort -u "$work/allowed" -o "$work/allowed"
sort -u "$work/denied" -o "$work/denied"
comm -23 "$work/allowed" "$work/denied" >"$work/permitted"

sed -n 's/^[0-9]\+ \+\([a-z_0-9]\+\)(.*/\1/p' "$work/trace" | sort -u >"$work/used"
grep -qx setuid "$work/used" || [ "$(id -u)" -ne 0 ] || fail "the workers did not change to nobody (no setuid in the trace)"
grep -qx execve "$work/used" || fail "the trace holds no worker start (no execve): nothing was checked"
echo "system calls made: $(wc -l <"$work/used"), allowed by the unit: $(wc -l <"$work/permitted")"
outside=$(comm -23 "$work/used" "$work/permitted")
[ -z "$outside" ] || fail "system calls outside the unit's SystemCallFilter: $(echo $outside)"

families=$(grep -o 'socket(AF_[A-Z0-9]*' "$work/trace" | sort -u | sed 's/socket(//')
[ -z "$(grep -vx AF_UNIX <<<"$families")" ] || fail "sockets other than AF_UNIX: $(echo $families)"
! grep -E '(mmap|mprotect|pkey_mprotect)\(.*PROT_(WRITE\|PROT_EXEC|EXEC\|PROT_WRITE)' "$work/trace" \
  || fail "memory mapped writable and executable (MemoryDenyWriteExecute would refuse it)"
echo "PASS: the service's system calls, sockets and mappings fit its unit's sandbox"
