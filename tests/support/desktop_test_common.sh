# Sourced by the desktop test scripts: a temporary folder $OUT, the list PIDS of
# processes the script starts (all ended, and $OUT removed, when it exits), and
# wait_for <tenths of a second> <command...>, true once the command succeeds.
OUT=$(mktemp -d)
PIDS=()
cleanup() {
  for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${PIDS[@]}"; do wait "$pid" 2>/dev/null; done
  rm -rf "$OUT"
}
trap cleanup EXIT
wait_for() {
  local tries=$1; shift
  for ((i = 0; i < tries; i++)); do "$@" && return 0; sleep 0.1; done
  return 1
}
