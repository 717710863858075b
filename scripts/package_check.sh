#!/usr/bin/env bash
# Builds the Debian package and checks it as a user would meet it, on this machine (as root):
# the desktop entry and the metainfo validate clean, the package installs with apt-get, the
# installed program shows the sample book with its icon, its manual renders, --version prints,
# xdg-open opens a picture in it once it is the default for JPEG, the committed screenshot is what
# the build shows, and the package then leaves nothing behind. Only the package itself is removed:
# packages apt installed for it, and every build dependency, stay.
# Usage: scripts/package_check.sh   ($BUILD_DIR: the build folder, default build)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
build_dir=${BUILD_DIR:-build}
[[ $build_dir == /* ]] || build_dir=$repo/$build_dir
app_id=io.github.kelpra.Kelpra
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

passed=0
failed=0
check() {
  local label=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    echo "FAILED: $label"
    failed=$((failed + 1))
  fi
}
step_start=$SECONDS
step() {
  echo "package check: $1 ($((SECONDS - step_start)) s)"
}

scripts/setup.sh --package
step "set up"

scripts/build.sh
rm -rf "$build_dir/package"
cpack --config "$build_dir/CPackConfig.cmake" -B "$build_dir/package" >/dev/null
debs=("$build_dir"/package/kelpra_*.deb)
[[ ${#debs[@]} -eq 1 && -f ${debs[0]} ]] || { echo "no package was built"; exit 1; }
# apt reads a local package as its unprivileged user: a copy it can read.
scratch=$(mktemp -d)
# The package never stays installed, however the check ends.
purge_package() {
  if dpkg-query -W -f='${Status}' kelpra 2>/dev/null | grep -q "install ok installed"; then
    $SUDO apt-get purge -y -qq kelpra >"$scratch/apt-purge.log" 2>&1 || cat "$scratch/apt-purge.log"
  fi
}
trap 'purge_package; rm -rf "$scratch"' EXIT
chmod 755 "$scratch"
deb=$scratch/$(basename "${debs[0]}")
cp "${debs[0]}" "$deb"
chmod 644 "$deb"
step "built $(basename "$deb"), $(stat -c %s "$deb") bytes; depends: $(dpkg-deb -f "$deb" Depends)"

# An earlier run that was killed may have left the package installed.
purge_package
dpkg-query -W -f='${Package}:${Architecture}\n' | sort >"$scratch/before"
$SUDO apt-get install -y -qq "$deb" >"$scratch/apt-install.log" 2>&1 ||
  { cat "$scratch/apt-install.log"; exit 1; }
step "installed"
dpkg -L kelpra | sort >"$scratch/files"

expected_files=(
  /usr/bin/kelpra
  "/usr/share/applications/$app_id.desktop"
  "/usr/share/metainfo/$app_id.metainfo.xml"
  "/usr/share/icons/hicolor/scalable/apps/$app_id.svg"
  "/usr/share/icons/hicolor/48x48/apps/$app_id.png"
  "/usr/share/icons/hicolor/256x256/apps/$app_id.png"
  /usr/share/man/man1/kelpra.1.gz
  /usr/share/doc/kelpra/copyright
)
has_file() { grep -qx "$1" "$scratch/files" && [[ -f $1 ]]; }
for file in "${expected_files[@]}"; do
  check "installs $file" has_file "$file"
done
# Nothing of the build tools, and every file readable by everyone.
check "installs no build tool" bash -c "! grep -q 'kelpra-render\|kelpra-make-sample-book' '$scratch/files'"
unreadable() { xargs -d '\n' -a "$scratch/files" -I{} find {} -maxdepth 0 -type f ! -perm -444; }
check "every file readable by everyone" test -z "$(unreadable)"

# Quiet means clean: desktop-file-validate prints every warning and hint.
validate_desktop() {
  local out
  out=$(desktop-file-validate "/usr/share/applications/$app_id.desktop" 2>&1) || out+=" (failed)"
  if [[ -n $out ]]; then
    echo "$out"
    return 1
  fi
}
check "desktop-file-validate" validate_desktop
validate_metainfo() {
  local out
  out=$(appstreamcli validate --no-net "/usr/share/metainfo/$app_id.metainfo.xml" 2>&1) ||
    out+=$'\nE: (failed)'
  if grep -q '^[EWI]:' <<<"$out"; then
    echo "$out"
    return 1
  fi
}
check "appstreamcli validate --no-net" validate_metainfo

man_renders() {
  local warnings
  warnings=$(MANWIDTH=80 man --warnings kelpra 2>&1 >"$scratch/man.txt") || return 1
  [[ -z $warnings ]] || { echo "$warnings"; return 1; }
  grep -q "kelpra - read the pictures of a folder as the pages of a book" "$scratch/man.txt" &&
    grep -q "ZENDRO/kelpra.ini" "$scratch/man.txt"
}
check "man kelpra renders" man_renders
version_prints() {
  local out
  out=$(env -u DISPLAY /usr/bin/kelpra --version) || return 1
  [[ $out =~ ^Kelpra\ \(64bit\)\ Version\ 0\.3\.3b ]] || { echo "kelpra --version: '$out'"; return 1; }
}
check "kelpra --version" version_prints
step "validated"

# The installed program on a desktop: the sample book, then a picture opened by xdg-open.
desktop_session() (
  source tests/e2e/lib/session.sh /usr/bin/kelpra "$build_dir/tools/kelpra-make-sample-book"
  start_viewer "$book/page01.jpg"
  wait_title_exactly "$(with_counter "[Kelpra] (page02.png + page01.jpg)" "1/12")"
  # Read whole before matching: grep -q would end the pipe early, and pipefail would see xprop fail.
  icons=$(xprop -id "$window" _NET_WM_ICON)
  [[ $icons == *"Icon (48 x 48)"* ]] || fail "the window has no 48 x 48 icon"
  xdotool key z
  wait_closed

  xdg-mime default "$app_id.desktop" image/jpeg
  [[ $(xdg-mime query default image/jpeg) == "$app_id.desktop" ]] ||
    fail "Kelpra is not the default for image/jpeg"
  # No desktop environment: xdg-open uses the default application of the file's type.
  xdg-open "$book/page08.jpg" >"$work/xdg-open.log" 2>&1 &
  window=$(timeout 20 xdotool search --sync --onlyvisible --name '^\[Kelpra\]' | head -1) ||
    fail "xdg-open started no viewer: $(cat "$work/xdg-open.log")"
  viewer_pid=$(xdotool getwindowpid "$window")
  [[ $(readlink "/proc/$viewer_pid/exe") == /usr/bin/kelpra ]] || fail "not the installed program"
  wait_title_exactly "$(with_counter "[Kelpra] (page09.gif + page08.jpg)" "8/12")"
  xdotool windowfocus --sync "$window" key z
  wait_closed
)
check "installed kelpra on a desktop, and through xdg-open" desktop_session
step "ran on a desktop"

# The screenshot the metainfo shows must still be what the program shows.
same_screenshot() {
  KELPRA=/usr/bin/kelpra scripts/make_screenshot.sh "$scratch/spread.png" >/dev/null || return 1
  if [[ $(compare -metric AE data/screenshots/spread.png "$scratch/spread.png" null: 2>&1) != 0 ]]; then
    echo "data/screenshots/spread.png is out of date: run scripts/make_screenshot.sh"
    return 1
  fi
}
check "committed screenshot is current" same_screenshot
step "compared the screenshot"

purge_package
step "removed"
check "package removed" bash -c "! dpkg-query -W -f='\${Status}' kelpra 2>/dev/null | grep -q installed"
left_behind() { while read -r f; do [[ -d $f ]] || [[ ! -e $f ]] || echo "$f"; done <"$scratch/files"; }
check "no file left" test -z "$(left_behind)"
check "no documentation folder left" test ! -e /usr/share/doc/kelpra
check "no menu cache entry left" bash -c \
  "! grep -qs '$app_id' /usr/share/applications/mimeinfo.cache /usr/share/icons/hicolor/icon-theme.cache"
dpkg-query -W -f='${Package}:${Architecture}\n' | sort >"$scratch/after"
check "no other package removed" test -z "$(comm -23 "$scratch/before" "$scratch/after")"

echo "package check: $passed passed, $failed failed, $((SECONDS - step_start)) s"
[ "$failed" -eq 0 ]
