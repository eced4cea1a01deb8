#!/usr/bin/env bash
# The Debian package of a build: made with cpack, checked for its declared
# dependencies and files, unpacked with dpkg -x into a scratch root (no
# maintainer scripts, nothing installed on the machine) and started from
# there: taskgate --version through /usr/bin, taskgate-setup --demo into the
# unpacked application directory, and taskgate offscreen until its login
# window shows the demo users and the program's icon (the preloaded driver
# reports it and ends it).
#
#   debian-package.sh <build dir> <driver library> <scratch dir> <version>
set -euo pipefail

build=$1 driver=$2 scratch=$3 version=$4
rm -rf "$scratch"
mkdir -p "$scratch/out"

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 || {
  cat "$scratch/cpack.log" >&2
  exit 1
}
deb=$(echo "$scratch"/out/taskgate_*.deb)
test -f "$deb"
echo "package: $(basename "$deb"), $(du -k "$deb" | cut -f1) KiB"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
names=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//')
for package in libqt6widgets6 libqt6gui6 libqt6core6 libfbclient2 firebird3.0-server-core libstdc++6; do
  if ! grep -qxF "$package" <<<"$names"; then
    echo "error: the package does not depend on $package" >&2
    exit 1
  fi
done
[[ $(dpkg-deb -f "$deb" Version) == "$version" ]]

dpkg-deb -c "$deb" >"$scratch/contents.txt"
for path in ./opt/taskgate/taskgate ./opt/taskgate/taskgate-setup ./opt/taskgate/demovendite.so \
  ./opt/taskgate/Rubrimax.so ./opt/taskgate/Grafica/vendite.ico ./opt/taskgate/include/taskgate/plugin.h \
  ./opt/taskgate/share/cmake/TaskgateSDK/TaskgateSDKConfig.cmake ./opt/taskgate/share/pkgconfig/taskgate-sdk.pc \
  ./usr/bin/taskgate ./usr/share/applications/taskgate.desktop ./usr/share/icons/hicolor/48x48/apps/taskgate.png \
  ./var/opt/taskgate/NOMIDIT/USERCFG/; do
  if ! grep -q " $path\( ->\|$\)" "$scratch/contents.txt"; then
    echo "error: the package has no $path" >&2
    exit 1
  fi
done

root="$scratch/root"
dpkg -x "$deb" "$root"
dpkg-deb -e "$deb" "$scratch/control"
test -x "$scratch/control/postinst"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$root/usr/share/applications/taskgate.desktop"
fi

reported=$("$root/usr/bin/taskgate" --version)
echo "taskgate --version: $reported"
[[ $reported == "taskgate $version" ]]
[[ $("$root/usr/bin/taskgate-setup" --version) == "taskgate-setup $version" ]]

# The unpacked application directory: its user/ is the package's link to
# var/opt/taskgate/user of the same root.
"$root/usr/bin/taskgate-setup" --demo --user-db "$root/opt/taskgate" >"$scratch/setup.log"
test -f "$root/var/opt/taskgate/user/user.fdb"

cd "$scratch"
status=0
QT_QPA_PLATFORM=offscreen TASKGATE_DRIVE=login LD_PRELOAD="$driver" "$root/usr/bin/taskgate" \
  >"$scratch/login.txt" 2>"$scratch/taskgate.err" || status=$?
cat "$scratch/login.txt"
if [[ $status -ne 0 ]]; then
  echo "error: the unpacked taskgate ended with status $status" >&2
  cat "$scratch/taskgate.err" >&2
  exit 1
fi
# The window icon is the one compiled into the program, in every size.
grep -q '^login window: Autenticazione; icon: 16,22,24,32,48,64,128,256; users: .*ADMIN.*MARIO' "$scratch/login.txt"
