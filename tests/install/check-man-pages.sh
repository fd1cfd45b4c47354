#!/usr/bin/env bash
# The man pages render with man -l without a warning, and name every command, subcommand
# and option that the programs' own help lists, and every exit code.
# Arguments: the folder with vantor.1 and vantorctl.1, the vantor and vantorctl programs.
set -euo pipefail
pages=$1 vantor=$2 vantorctl=$3
status=0
fail() { echo "FAILED: $*"; status=1; }

for page in "$pages/vantor.1" "$pages/vantorctl.1"; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null) ||
    fail "man -l $page exited with an error"
  [[ -z $warnings ]] || fail "man -l $page warns: $warnings"
done

# The page's text with roff's escaped hyphens made plain.
source_of() { sed -e 's/\\-/-/g' -e 's/\\~/ /g' "$1"; }
names() {  # $1: page, rest: words each page must hold
  local page=$1 text
  shift
  text=$(source_of "$page")
  for word in "$@"; do
    grep -qF -- "$word" <<<"$text" || fail "$(basename "$page") does not mention '$word'"
  done
}

# vantorctl: global options, commands, the subcommands of preset and device, exit codes.
ctl_help=$(env -u DISPLAY -u WAYLAND_DISPLAY "$vantorctl" --help)
mapfile -t options < <(grep -oE -- '--[a-z][a-z-]*' <<<"$ctl_help" | sort -u)
mapfile -t commands < <(sed -n '/^commands:/,/^options:/p' <<<"$ctl_help" |
  awk '/^  [a-z]/ {print $1}')
mapfile -t preset < <("$vantorctl" preset --help | awk '/^  [a-z]/ {print "preset " $1}')
mapfile -t device < <("$vantorctl" device --help | awk '/^  [a-z]/ {print "device " $1}')
mapfile -t firmware < <("$vantorctl" firmware --help | awk '/firmware info/ {print "firmware info"}')
[[ ${#commands[@]} -ge 6 && ${#device[@]} -ge 10 && ${#preset[@]} -ge 4 ]] ||
  fail "the help of vantorctl did not list its commands"
names "$pages/vantorctl.1" "${options[@]}" "${commands[@]}" "${preset[@]}" "${device[@]}" \
  "${firmware[@]}" "EXIT STATUS"
# ... and every option of a device subcommand's own help (--backup, --yes, --out, ...).
mapfile -t sub_options < <(for sub in "${device[@]#device }"; do
  "$vantorctl" device "$sub" --help; done | grep -oE -- '--[a-z][a-z-]*' | sort -u)
[[ ${#sub_options[@]} -ge 3 ]] || fail "the device subcommands' help listed no options"
names "$pages/vantorctl.1" "${sub_options[@]}"
for code in 0 1 2 3; do
  sed -n '/^\.SH EXIT STATUS/,/^\.SH [A-Z]/p' "$pages/vantorctl.1" | grep -qx ".B $code" ||
    fail "vantorctl.1 does not list exit code $code"
done

# vantor: every option of its help.
app_help=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$vantor" --help)
mapfile -t options < <(grep -oE -- '--[a-z][a-z-]*' <<<"$app_help" | sort -u)
[[ ${#options[@]} -ge 6 ]] || fail "the help of vantor did not list its options"
names "$pages/vantor.1" "${options[@]}" "/RegServer" "EXIT STATUS"

[[ $status -eq 0 ]] && echo "ok: both man pages"
exit $status
