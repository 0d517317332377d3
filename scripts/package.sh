#!/usr/bin/env bash
# Builds the release files of Lumitrax into dist/ (or LUMITRAX_DIST_DIR):
#   Lumitrax-<version>-setup.exe     the per-user installer (NSIS)
#   Lumitrax-<version>-portable.zip  the program and a short read-me
#   SHA256SUMS                       the checksums of both
#   manifests/                       the winget and Scoop manifests of both (scripts/manifests.py)
# The version is the project's, as the build stamps it into Lumitrax.exe.
# With LUMITRAX_SIGN_PFX (a PKCS#12 file) and LUMITRAX_SIGN_PASSWORD set, the
# program, the uninstaller and the installer are signed with osslsigncode;
# LUMITRAX_SIGN_TIMESTAMP_URL adds a time stamp. Without them nothing is signed.
# The manifests give each file's address as LUMITRAX_RELEASE_URL + "/" + its
# name; by default the product site's (the build's LUMITRAX_SITE_URL)
# "/download/<version>".
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/install-deps.sh
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
cmake --preset windows -DLUMITRAX_WERROR=$werror >/dev/null
cmake --build --preset windows --target Lumitrax -j "$(nproc 2>/dev/null || echo 2)"

build=$root/build/windows
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[[ "$version" =~ ^[0-9]+\.[0-9]+\.[0-9]+\.[0-9]+$ ]] || {
  echo "package: the build's version \"$version\" is not four numbers" >&2
  exit 1
}
dist=$(realpath -m "${LUMITRAX_DIST_DIR:-$root/dist}")
stage=$build/package
rm -rf "$stage"
mkdir -p "$stage/portable" "$dist"
rm -f "$dist"/Lumitrax-*-setup.exe "$dist"/Lumitrax-*-portable.zip "$dist/SHA256SUMS"
cp "$build/Lumitrax.exe" "$stage/Lumitrax.exe"

signing=0
if [ -n "${LUMITRAX_SIGN_PFX:-}" ]; then
  [ -f "$LUMITRAX_SIGN_PFX" ] || { echo "package: LUMITRAX_SIGN_PFX: no file $LUMITRAX_SIGN_PFX" >&2; exit 1; }
  signing=1
  export LUMITRAX_SIGN_PFX LUMITRAX_SIGN_PASSWORD="${LUMITRAX_SIGN_PASSWORD:-}"
  echo "== signing with $LUMITRAX_SIGN_PFX"
  scripts/sign.sh "$stage/Lumitrax.exe"
fi

echo "== Lumitrax-$version-portable.zip"
cp "$stage/Lumitrax.exe" "$stage/portable/Lumitrax.exe"
sed "s/@VERSION@/$version/" installer/portable-readme.txt | sed 's/$/\r/' >"$stage/portable/README.txt"
touch -d "@$(git log -1 --format=%ct 2>/dev/null || date +%s)" "$stage/portable/"*
(cd "$stage/portable" && zip -q -X -9 "$dist/Lumitrax-$version-portable.zip" Lumitrax.exe README.txt)

echo "== Lumitrax-$version-setup.exe"
setup=$dist/Lumitrax-$version-setup.exe
nsis_args=(-V2 -DVERSION="$version" -DEXE="$stage/Lumitrax.exe" -DICON="$build/generated/lumitrax.ico"
           -DOUTFILE="$setup")
[ $signing -eq 1 ] && nsis_args+=(-DSIGN_UNINSTALLER="$root/scripts/sign.sh")
makensis "${nsis_args[@]}" installer/lumitrax.nsi
[ $signing -eq 1 ] && scripts/sign.sh "$setup"

(cd "$dist" && sha256sum "Lumitrax-$version-setup.exe" "Lumitrax-$version-portable.zip" >SHA256SUMS)

echo "== manifests"
site_url=$(sed -n 's/^LUMITRAX_SITE_URL:STRING=//p' "$build/CMakeCache.txt")
release_url=${LUMITRAX_RELEASE_URL:-$site_url/download/$version}
rm -rf "$dist/manifests"
python3 scripts/manifests.py "$dist" "$version" "$release_url" "$site_url"
echo "Release files in $dist:"
(cd "$dist" && ls -l "Lumitrax-$version-setup.exe" "Lumitrax-$version-portable.zip" SHA256SUMS)
