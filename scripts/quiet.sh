# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the scripts. quietly LOG WHAT COMMAND...: runs COMMAND with its
# output appended to LOG. Silent when it succeeds; when it fails, prints the
# end of the log and where the whole log is, and exits with its status, so
# the one line that matters does not scroll away behind a page of progress.
quietly() {
  local log=$1 what=$2 status=0
  shift 2
  mkdir -p "$(dirname "$log")"
  "$@" >>"$log" 2>&1 || status=$?
  if ((status)); then
    {
      echo "$what failed (exit $status). The end of its log:"
      tail -n 30 "$log" | sed 's/^/  /'
      echo "Whole log: $log"
    } >&2
    exit "$status"
  fi
}
