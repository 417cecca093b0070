# The scan service on a private bus, for the package tests (sourced).
# Needs $pids (an array the caller's clean-up ends) and the source tree in
# DISCOVERY_SOURCE_DIR.

readonly BUS_NAME=com.vorel.dlp.TransControl
readonly BUS_PATH=/com/vorel/dlp/TransControl
readonly BUS_INTERFACE=com.vorel.dlp.TransControlInterface

# Starts a private dbus-daemon, points DBUS_SYSTEM_BUS_ADDRESS at it and
# leaves its process id in bus_pid.
start_private_bus() {
  exec 7< <(dbus-daemon --config-file="$DISCOVERY_SOURCE_DIR/tests/support/private-bus.conf" --nofork --print-address=1 --print-pid=1)
  read -r DBUS_SYSTEM_BUS_ADDRESS <&7
  read -r bus_pid <&7
  pids+=("$bus_pid")
  export DBUS_SYSTEM_BUS_ADDRESS
}

# Calls METHOD of the service's interface with the remaining arguments.
call() {
  gdbus call --system --dest "$BUS_NAME" --object-path "$BUS_PATH" --method "$BUS_INTERFACE.$1" "${@:2}"
}

# Waits up to TENTHS tenths of a second for the service to answer on the bus.
wait_for_service() {
  local _
  for _ in $(seq "$1"); do
    gdbus introspect --system --dest "$BUS_NAME" --object-path "$BUS_PATH" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}
