#!/usr/bin/env bash
# vantorctl's bash completion offers the commands, subcommands, options, keys and files a
# person types next, and every command the program's help lists.
# Arguments: the completion file, the vantorctl program.
set -uo pipefail
completion=$(realpath "$1") vantorctl=$(realpath "$2")
# shellcheck source=/dev/null
source "$completion"
status=0

# Completes the line "vantorctl $1" with the cursor at its end; the replies sorted.
complete_line() {
  COMP_LINE="vantorctl $1"
  COMP_POINT=${#COMP_LINE}
  COMPREPLY=()
  _vantorctl
  printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ' | sed 's/ $//'
}
expect() {  # $1: line, $2: the replies expected
  local got
  got=$(complete_line "$1")
  [[ $got == "$2" ]] || { echo "FAILED: 'vantorctl $1' completes to '$got', expected '$2'"; status=1; }
}
offers() {  # $1: line, rest: words among the replies
  local got word
  got=" $(complete_line "$1") "
  for word in "${@:2}"; do
    [[ $got == *" $word "* ]] || { echo "FAILED: 'vantorctl $1' does not offer '$word'"; status=1; }
  done
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
mkdir tunes
touch a.dsps b.dspa fw.dsp hand.contr notes.txt

expect "--l" "--lang"
expect "--lang " "en zh"
expect "de" "device"
expect "device st" "store"
expect "device store " "1 2 3 4 5 6"
expect "device store 3 " ""
expect "--sim --sim-state unit.vsim device recall 2 --" "--help --out"
# Files of the command's kinds, and folders (bash adds their "/").
expect "device push " "a.dsps tunes"
expect "device restore " "b.dspa tunes"
expect "device firmware " "fw.dsp hand.contr tunes"
expect "firmware info " "fw.dsp hand.contr tunes"
expect "preset show a.dsps --" "--help --json"
expect "preset set a.dsps out3.ga" "out3.gain="
# bash splits the word at "=": the replies continue after it.
expect "device set source=bl" "bluetooth"
expect "device set out2.hp.family=b" "bessel butterworth"
expect "preset set a.dsps out1.band31.ty" "out1.band31.type="
expect "curve type=peak,fr" "peak,freq="
expect "--sim --sim-faults seed=7,dr" "7,drop="
expect "response a.dsps --channel " "1 2 3 4 5 6 7 8"

# Every command and device subcommand the program lists is offered.
mapfile -t commands < <("$vantorctl" --help | sed -n '/^commands:/,/^options:/p' |
  awk '/^  [a-z]/ {print $1}')
mapfile -t device < <("$vantorctl" device --help | awk '/^  [a-z]/ {print $1}')
mapfile -t preset < <("$vantorctl" preset --help | awk '/^  [a-z]/ {print $1}')
mapfile -t options < <("$vantorctl" --help | sed -n '/^options:/,$p' | grep -oE -- '--[a-z-]+' |
  sort -u)
[[ ${#commands[@]} -ge 6 && ${#device[@]} -ge 10 ]] || { echo "FAILED: no command list"; exit 1; }
offers "" "${commands[@]}"
offers "device " "${device[@]}"
offers "preset " "${preset[@]}"
offers "-" "${options[@]}"

# Every option of a device subcommand's own help, besides the global ones, is offered after
# that subcommand; a backup file is completed as an all-presets file.
for sub in "${device[@]}"; do
  mapfile -t sub_options < <("$vantorctl" device "$sub" --help | grep -oE -- '--[a-z][a-z-]*' |
    sort -u | grep -vxF -f <(printf '%s\n' "${options[@]}"))
  ((${#sub_options[@]})) && offers "device $sub --" "${sub_options[@]}"
done
expect "device firmware fw.dsp --backup " "b.dspa tunes"

[[ $status -eq 0 ]] && echo "ok: completion"
exit $status
