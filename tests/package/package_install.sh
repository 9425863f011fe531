#!/usr/bin/env bash
# Builds the Debian package from the build tree, unpacks it under an empty root as dpkg would
# install it, and starts the installed programs there: they must find their data in
# share/vxeditr beside their bin directory, with nothing of the build tree in reach.
# Usage: package_install.sh BUILD_DIR WORK_DIR
set -euo pipefail
build=$1
work=$2

fail() { echo "FAILED: $*" >&2; exit 1; }

for tool in dpkg-deb dpkg-shlibdeps file; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIPPED: $tool is missing (Debian packages dpkg-dev and file), so no package can be built"
    exit 77
  fi
done

rm -rf "$work"
mkdir -p "$work"
cd "$work"
cpack --config "$build/CPackConfig.cmake" -B "$work/out" >cpack.log 2>&1 || { cat cpack.log; fail "cpack"; }
debs=("$work"/out/vxeditr_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack wrote no single vxeditr_*.deb"
deb=${debs[0]}

[ "$(dpkg-deb -f "$deb" Package)" = vxeditr ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "1.0.6" ] || fail "version $(dpkg-deb -f "$deb" Version)"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libqt6printsupport6 librtmidi libsqlite3 qt6-qpa-plugins; do
  [[ $depends == *"$library"* ]] || fail "Depends lacks $library: $depends"
done

dpkg-deb -x "$deb" root
share=root/usr/share/vxeditr
for file in usr/bin/vxeditr usr/bin/vx50 usr/bin/vx50-instrument \
            usr/share/vxeditr/X50PRSTS.TXT usr/share/vxeditr/X50TIPS.TXT usr/share/vxeditr/manual/index.html \
            usr/share/applications/vxeditr.desktop usr/share/icons/hicolor/scalable/apps/vxeditr.svg \
            usr/share/icons/hicolor/48x48/apps/vxeditr.png usr/share/doc/vxeditr/README.md; do
  [ -f "root/$file" ] || fail "$file is not in the package"
done
for extension in ARR STY PRG BSQ SNG ARK ARG GBL; do
  [ -f "$share/X50EMPTY.SET/X50EMPTY.$extension" ] || fail "X50EMPTY.$extension is not in the package"
  [ -f "$share/examples/DEMO.SET/DEMO.$extension" ] || fail "DEMO.$extension is not in the package"
done
grep -q '^Exec=vxeditr %F$' root/usr/share/applications/vxeditr.desktop || fail "desktop entry"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate root/usr/share/applications/vxeditr.desktop || fail "desktop entry does not validate"
fi
find root -path '*/manual/*' -name '*.png' | grep -q . || fail "the manual's pictures are not in the package"

# The installed tool reads the installed demo set and makes a new set from the installed template.
root/usr/bin/vx50 info "$share/examples/DEMO.SET" >info.out 2>info.err || { cat info.err; fail "vx50 info"; }
[ ! -s info.err ] || { cat info.err; fail "vx50 info wrote to standard error"; }
grep -q "DEMO" info.out || fail "vx50 info does not name the set"
root/usr/bin/vx50 new "$work/NEW.SET" >new.out 2>new.err || { cat new.err; fail "vx50 new"; }
for extension in ARR STY PRG BSQ SNG ARK ARG GBL; do
  cmp "$work/NEW.SET/NEW.$extension" "$share/X50EMPTY.SET/X50EMPTY.$extension" || fail "NEW.$extension differs from the template"
done

# The installed editor starts offscreen on the installed demo set and renders its window.
XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=offscreen \
  root/usr/bin/vxeditr --screenshot "$work/demo.png" "$share/examples/DEMO.SET" >editor.out 2>editor.err ||
  { cat editor.err; fail "vxeditr --screenshot"; }
file "$work/demo.png" | grep -q "PNG image data, 1024 x 768" || fail "no 1024x768 picture: $(file "$work/demo.png")"
echo "the package installs and its programs run from $work/root"
