#!/usr/bin/env bash
# Installs a built tree into a staging folder and checks the installation as its users
# meet it: two programs of other projects build against the library there (one through
# pkg-config, one through find_package) and run; the installed Fauxlarm finds its library
# and its window module; fauxlarm-play and halvane3-monitor find the library; the
# programs print the build's version; halvane-config opens its window; every program has
# its manual page; and CPack makes the Debian packages with their dependencies.
# Usage: scripts/check-install.sh BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:?usage: scripts/check-install.sh BUILD_DIR}")

stage=$(mktemp -d)
prefix="halvane-install-check-$$."
cleanup() {
  rm -rf "$stage"
  rm -f /dev/shm/"$prefix"*
}
trap cleanup EXIT
# Every process below attaches to a region of its own, never to a live system's.
export HALVANE3_NAME_PREFIX=$prefix
export XDG_CONFIG_HOME=$stage/config
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM

echo "-- install into $stage/usr"
cmake --install "$build" --prefix "$stage/usr" >/dev/null
libdir=$(dirname "$(find "$stage/usr" -name 'libHalvane3.so.*.*' | head -n 1)")

echo "-- a consumer through pkg-config"
flags=$(PKG_CONFIG_PATH=$libdir/pkgconfig pkg-config --cflags --libs halvane3)
# shellcheck disable=SC2086
cc -std=c11 -Wall -Wextra -Werror tests/packaging/pkgconfig_consumer.c $flags \
  -o "$stage/pkgconfig_consumer"
LD_LIBRARY_PATH=$libdir "$stage/pkgconfig_consumer"

echo "-- a consumer through find_package"
cmake -S tests/packaging/find_package -B "$stage/find_package" -G Ninja \
  -DCMAKE_PREFIX_PATH="$stage/usr" -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
cmake --build "$stage/find_package" >/dev/null
"$stage/find_package/find_package_consumer"

echo "-- the installed programs"
"$stage/usr/bin/Fauxlarm" /d /t0:installed /s1 /u
"$stage/usr/bin/fauxlarm-play" --queue --random --rate=0 --count=3 --quiet >/dev/null
# Installed under /usr the library lies where the loader looks anyway, so programs carry
# no run path then; staged, they need to be told.
monitorEnvironment=()
if grep -q '^CMAKE_INSTALL_PREFIX:PATH=/usr$' "$build/CMakeCache.txt"; then
  monitorEnvironment=(env "LD_LIBRARY_PATH=$libdir")
fi
"${monitorEnvironment[@]}" "$stage/usr/bin/halvane3-monitor" --once
# The programs print the one version the build keeps.
version=$(sed -n 's/.*kHalvaneVersion = "\(.*\)";/\1/p' "$build/version/HalvaneVersion.h")
for program in halvane3-monitor halvane-config halvane-config-dump; do
  shown=$("${monitorEnvironment[@]}" "$stage/usr/bin/$program" --version)
  if [ "$shown" != "$program $version" ]; then
    echo "$program --version says '$shown', not '$program $version'" >&2
    exit 1
  fi
done
# The window module loads: with a screen to show it on, the window stays open.
status=0
QT_QPA_PLATFORM=offscreen timeout 3 "$stage/usr/bin/Fauxlarm" 2>/dev/null || status=$?
if [ "$status" -ne 124 ]; then
  echo "the installed Fauxlarm did not open its window (status $status)" >&2
  exit 1
fi
"$stage/usr/bin/halvane-config" --help >/dev/null
mkdir -p "$stage/folder"
status=0
QT_QPA_PLATFORM=offscreen timeout 3 "$stage/usr/bin/halvane-config" --folder "$stage/folder" \
  2>/dev/null || status=$?
if [ "$status" -ne 124 ]; then
  echo "the installed halvane-config did not open its window (status $status)" >&2
  exit 1
fi

echo "-- manual pages"
for program in "$stage"/usr/bin/*; do
  page="$stage/usr/share/man/man1/$(basename "$program").1.gz"
  [ -f "$page" ] || { echo "no manual page for $(basename "$program")" >&2; exit 1; }
  zgrep -q '^\.SH DESCRIPTION' "$page" || { echo "$page has no description" >&2; exit 1; }
done

echo "-- Debian packages"
if ! (cd "$build" && cpack -G DEB -B "$stage/packages" >"$stage/cpack.log" 2>&1); then
  cat "$stage/cpack.log" >&2
  exit 1
fi
holds() {
  dpkg-deb -c "$stage"/packages/"$1"_*.deb | grep -F "$2" >/dev/null ||
    { echo "$1 lacks $2" >&2; exit 1; }
}
holds libhalvane3-3 libHalvane3.so.3
holds libhalvane3-dev include/Halvane3.h
holds libhalvane3-dev pkgconfig/halvane3.pc
holds libhalvane3-dev cmake/Halvane3/Halvane3Config.cmake
holds halvane-tools bin/Fauxlarm
holds halvane-tools halvane/FauxlarmWindow.so
holds halvane-tools bin/halvane3-monitor
holds halvane-tools bin/halvane-config-dump
holds halvane-tools bin/fauxlarm-play
holds halvane-tools man1/fauxlarm-play.1.gz
holds halvane-tools man1/Fauxlarm.1.gz
for package in "$stage"/packages/*.deb; do
  echo "$(basename "$package"): depends on $(dpkg-deb -f "$package" Depends)"
done
echo "Installation checked."
