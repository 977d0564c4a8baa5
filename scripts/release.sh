#!/usr/bin/env bash
# The release: builds setup.exe and the package folder (build/sample-package),
# then writes into build/release/:
#   Orvelle6-VERSION.zip          the package folder (setup.exe at its root)
#   Orvelle6-VERSION.zip.sha256   its SHA-256 ("sha256sum -c" reads it)
#   winget/                       the winget manifests of this version
# VERSION is the package's application version (OrvPix6.exe's file version)
# as "%d.%02d.%02d.%02d", e.g. 6.01.02.03.
#
#   scripts/release.sh [--no-build] [--out DIR]
#
# --no-build: take the build as it is (the package folder must exist).
# --out DIR: write there instead of build/release/.
# ORVELLE_RELEASE_BASE_URL: the address of the folder the zip is published in
#   (the manifest's InstallerUrl is it followed by the zip's name); by default
#   the vendor's home page (the build setting ORVELLE_HOME_PAGE) + download/.
# Signing: configure with the ORVELLE_SIGN_* settings first (README, "Signing").
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)

build=1
out=$top/build/release
while [ $# -gt 0 ]; do
  case "$1" in
    --no-build) build=0; shift ;;
    --out) out=$2; shift 2 ;;
    *) echo "usage: release.sh [--no-build] [--out DIR]" >&2; exit 2 ;;
  esac
done
fail() { echo "release.sh: $*" >&2; exit 1; }

[ "$build" = 0 ] || scripts/build.sh
package=$top/build/sample-package
for file in setup.exe OrvUnInst.exe OrvPix6.exe OrvUnInst.log; do
  [ -f "$package/$file" ] || fail "the package folder lacks $file: build first (scripts/build.sh)"
done
cmp -s "$package/setup.exe" "$package/OrvUnInst.exe" || fail "setup.exe and OrvUnInst.exe of the package differ"

# A build setting as the build's cache holds it.
build_setting() { sed -n "s/^$1:[A-Z]*=//p" "$top/build/CMakeCache.txt"; }
home_page=$(build_setting ORVELLE_HOME_PAGE)
web_server=$(build_setting ORVELLE_WEB_SERVER)
if [ -z "$home_page" ] || [ -z "$web_server" ]; then fail "no build settings in build/CMakeCache.txt"; fi

version=$(python3 scripts/release_tools.py version "$package/OrvPix6.exe")
display_version=${version%.*}   # the uninstall entry's DisplayVersion: three numbers
zip_name=Orvelle6-$version.zip
base_url=${ORVELLE_RELEASE_BASE_URL:-${home_page%/}/download/}
installer_url=${base_url%/}/$zip_name

mkdir -p "$out"
rm -f "$out"/Orvelle6-*.zip "$out"/Orvelle6-*.zip.sha256
rm -rf "$out/winget"
mkdir -p "$out/winget"
# Files only, in a fixed order, without the build machine's owners (-X).
( cd "$package" && find . -type f | LC_ALL=C sort | sed 's|^\./||' | zip -q -X "$out/$zip_name" -@ )
( cd "$out" && sha256sum "$zip_name" >"$zip_name.sha256" )
sha256=$(cut -d' ' -f1 "$out/$zip_name.sha256" | tr 'a-f' 'A-F')

for template in packaging/winget/*.yaml.in; do
  manifest=$(basename "$template" .in)
  python3 scripts/release_tools.py fill "$template" "$out/winget/$manifest" \
    PACKAGE_VERSION="$version" DISPLAY_VERSION="$display_version" \
    INSTALLER_URL="$installer_url" INSTALLER_SHA256="$sha256" \
    PACKAGE_URL="$home_page" PUBLISHER_URL="$web_server"
done

echo "release.sh: Orvelle 6 $version in $out"
( cd "$out" && find . -type f | LC_ALL=C sort | sed 's|^\./|  |' )
