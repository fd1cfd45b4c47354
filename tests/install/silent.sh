#!/usr/bin/env bash
# Runs a validator and fails when it fails or says anything (warnings included).
set -uo pipefail
output=$("$@" 2>&1)
status=$?
if [[ $status -ne 0 || -n $output ]]; then
  printf '%s\n' "$output"
  echo "FAILED: $* (exit $status)"
  exit 1
fi
echo "ok: $*"
