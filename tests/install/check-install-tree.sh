#!/usr/bin/env bash
# An install into a temporary DESTDIR holds exactly the files the package is made of; the
# menu entry, its icon and the metainfo refer to each other; the installed programs tell
# their version and commit and answer --help without a display.
# Arguments: the build folder, the project version.
set -uo pipefail
build=$1 version=$2
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
status=0
fail() { echo "FAILED: $*"; status=1; }

if ! DESTDIR=$dest cmake --install "$build" --prefix /usr >"$dest.log" 2>&1; then
  cat "$dest.log"
  rm -f "$dest.log"
  echo "FAILED: cmake --install"
  exit 1
fi
rm -f "$dest.log"

expected=(
  usr/bin/vantor
  usr/bin/vantorctl
  usr/lib/udev/rules.d/70-vantor.rules
  usr/share/applications/org.vantor.Vantor.desktop
  usr/share/bash-completion/completions/vantorctl
  usr/share/doc/vantor/README.md
  usr/share/icons/hicolor/scalable/apps/org.vantor.Vantor.svg
  usr/share/man/man1/vantor.1.gz
  usr/share/man/man1/vantorctl.1.gz
  usr/share/metainfo/org.vantor.Vantor.metainfo.xml
)
installed=$(cd "$dest" && find . -type f | sed 's|^\./||' | sort)
wanted=$(printf '%s\n' "${expected[@]}" | sort)
[[ $installed == "$wanted" ]] ||
  fail "installed files differ from the list (< installed, > expected):
$(diff <(echo "$installed") <(echo "$wanted"))"
for f in "${expected[@]}"; do
  [[ -s $dest/$f ]] || fail "empty: /$f"
done
for f in usr/bin/vantor usr/bin/vantorctl; do
  [[ -x $dest/$f ]] || fail "not executable: /$f"
done

# The menu entry starts an installed program and shows an installed icon; the metainfo
# launches that entry.
entry=$dest/usr/share/applications/org.vantor.Vantor.desktop
program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
icon=$(sed -n 's/^Icon=//p' "$entry")
[[ -x $dest/usr/bin/$program ]] || fail "the menu entry starts '$program', which is not installed"
[[ -f $dest/usr/share/icons/hicolor/scalable/apps/$icon.svg ]] ||
  fail "the menu entry's icon '$icon' is not installed"
grep -q '<launchable type="desktop-id">org.vantor.Vantor.desktop</launchable>' \
  "$dest/usr/share/metainfo/org.vantor.Vantor.metainfo.xml" ||
  fail "the metainfo does not launch the installed menu entry"
grep -q "<release version=\"$version\"" "$dest/usr/share/metainfo/org.vantor.Vantor.metainfo.xml" ||
  fail "the metainfo does not name release $version"
for page in vantor vantorctl; do
  zcat "$dest/usr/share/man/man1/$page.1.gz" | grep -q "^\.TH ${page^^} 1 .*\"Vantor $version\"" ||
    fail "$page.1.gz is not the page of version $version"
done
# The udev rule matches the processor's USB ids and gives the seat's user access.
grep -Eq 'ATTRS\{idVendor\}=="0483".*ATTRS\{idProduct\}=="5750".*TAG\+="uaccess"' \
  "$dest/usr/lib/udev/rules.d/70-vantor.rules" || fail "the udev rule does not grant the processor"

# The installed programs, without a display.
nodisplay=(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb)
ctl=$("${nodisplay[@]}" "$dest/usr/bin/vantorctl" --version) || fail "vantorctl --version failed"
app=$("${nodisplay[@]}" "$dest/usr/bin/vantor" --version) || fail "vantor --version failed"
[[ $ctl =~ ^vantorctl\ $version\ \(commit\ ([0-9a-f]{12}(-dirty)?|unknown)\)$ ]] ||
  fail "vantorctl --version says '$ctl'"
[[ ${app#vantor } == "${ctl#vantorctl }" ]] || fail "vantor --version says '$app', vantorctl '$ctl'"
help=$("${nodisplay[@]}" "$dest/usr/bin/vantor" --help) || fail "vantor --help failed without a display"
[[ $help == usage:\ vantor* ]] || fail "vantor --help says '$help'"

[[ $status -eq 0 ]] && echo "ok: install tree"
exit $status
