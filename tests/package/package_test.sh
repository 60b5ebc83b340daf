#!/usr/bin/env bash
# Builds the Debian package from a finished build folder with tools/build-deb.sh (which fails on
# lintian errors), checks its file list and runs the programs from the unpacked tree.
#   package_test.sh SOURCE-DIR BUILD-DIR
set -euo pipefail
source_dir=$1
build_dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

package=$("$source_dir/tools/build-deb.sh" --build-dir "$build_dir" --no-build --output "$work/out")
[ -f "$package" ] || fail "no package"

# Output is captured before it is searched: grep -q closing a pipe early would fail the writer.
contains() { grep -q -- "$2" <<<"$1"; }
contains "$(dpkg-deb --field "$package" Depends)" 'libqt6widgets6' || fail "Depends names no Qt library"
dpkg-deb -c "$package" | awk '{print $6}' | sed 's|^\./|/|' > "$work/files"
expected=(
  /usr/bin/paltrix /usr/bin/paltrix-cli /usr/bin/paltrix-convert
  /usr/share/applications/paltrix.desktop
  /usr/share/icons/hicolor/48x48/apps/paltrix.png /usr/share/icons/hicolor/256x256/apps/paltrix.png
  /usr/share/man/man1/paltrix.1.gz /usr/share/man/man1/paltrix-cli.1.gz
  /usr/share/man/man1/paltrix-convert.1.gz
  /usr/share/doc/paltrix/copyright /usr/share/doc/paltrix/changelog.gz
)
# The serial library joins the package once it is built: its library, header and pkg-config file.
if compgen -G "$build_dir/serial/libtavix32.so*" >/dev/null; then
  grep -q '^/usr/lib/.*libtavix32\.so' "$work/files" || fail "libtavix32.so is missing"
  grep -q '^/usr/include/.*\.h$' "$work/files" || fail "the serial library's header is missing"
  grep -q '/pkgconfig/.*\.pc$' "$work/files" || fail "the serial library's pkg-config file is missing"
fi
for file in "${expected[@]}"; do
  grep -qx "$file" "$work/files" || fail "$file is not in the package"
done
! grep -q '^/usr/bin/convert$' "$work/files" || fail "/usr/bin/convert would clash with ImageMagick"

dpkg-deb -x "$package" "$work/root"
bin=$work/root/usr/bin
contains "$("$bin/paltrix-cli" --help)" 'product' || fail "paltrix-cli --help"
contains "$("$bin/paltrix-convert" --help)" '^Usage: paltrix-convert$' || fail "paltrix-convert --help"
contains "$(zcat "$work/root/usr/share/man/man1/paltrix-convert.1.gz")" '^paltrix-convert \\- ' ||
  fail "paltrix-convert(1) has no NAME line"
contains "$(file "$work/root/usr/share/icons/hicolor/48x48/apps/paltrix.png")" '48 x 48' ||
  fail "the 48x48 icon is not a 48 x 48 PNG"

# The programs at work in a station folder: the command line adds a product, convert leaves a
# current product file alone, and the windowed program starts and closes.
mkdir -p "$work/station/Data"
cd "$work/station"
"$bin/paltrix-cli" product add --id 1 --name Prøve >/dev/null || fail "paltrix-cli product add"
contains "$("$bin/paltrix-cli" product export)" '^1,Prøve,' || fail "paltrix-cli product export"
env -u DISPLAY -u WAYLAND_DISPLAY "$bin/paltrix-convert" 2>"$work/convert.err" ||
  fail "paltrix-convert on a current product file"
grep -q 'already in the current layout' "$work/convert.err" || fail "paltrix-convert message"
QT_QPA_PLATFORM=offscreen PALTRIX_QUIT_AFTER_SHOWN=1 timeout 60 "$bin/paltrix" ||
  fail "paltrix did not start and close"
echo "package $package: files, programs and lintian as expected"
