#!/usr/bin/env bash
# Tests of the release files: builds them with scripts/package.sh, checks what
# dist/ holds, runs the installer tests (install_tests.exe) under Wine in a
# fresh prefix, checks the winget and Scoop manifests against the files (with
# a release address of its own), and signs a second set with a throwaway
# self-signed certificate that osslsigncode must then accept.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
status=0
checks=0
fail() { echo "FAILED: $*"; status=1; }
pass() { checks=$((checks + 1)); }

# The manifests must follow whatever release address they are given.
release_url="https://downloads.lumitrax.example/releases/test"
LUMITRAX_RELEASE_URL=$release_url scripts/package.sh || { echo "FAILED: scripts/package.sh"; exit 1; }
cmake --build --preset windows --target install_tests >/dev/null || { echo "FAILED: building install_tests"; exit 1; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/windows/CMakeCache.txt)
setup=$root/dist/Lumitrax-$version-setup.exe
zip=$root/dist/Lumitrax-$version-portable.zip

echo "== the release files"
[ -s "$setup" ] && pass || fail "no $setup"
(cd dist && sha256sum --quiet -c SHA256SUMS) && pass || fail "SHA256SUMS does not match the files"
[ "$(wc -l <dist/SHA256SUMS)" -eq 2 ] && pass || fail "SHA256SUMS should list the installer and the zip"
listing=$(python3 -m zipfile -l "$zip" | awk 'NR > 1 { print $1 }' | sort | tr '\n' ' ')
[ "$listing" = "Lumitrax.exe README.txt " ] && pass || fail "the zip holds: $listing"
python3 -m zipfile -e "$zip" build/windows/package/unzipped >/dev/null
cmp -s build/windows/package/unzipped/Lumitrax.exe build/windows/Lumitrax.exe && pass ||
  fail "the zip's program is not the build's"
grep -q "Lumitrax $version" build/windows/package/unzipped/README.txt && pass || fail "the read-me names no version"
# Unsigned unless asked: verifying finds no signature.
osslsigncode verify -in "$setup" >/dev/null 2>&1 && fail "the installer is signed without LUMITRAX_SIGN_PFX" || pass

echo "== the installer's languages"
python3 tests/install/check_languages.py && pass || fail "the installer's languages"
# The check itself: a text missing in one language, or a message box with
# words of its own, must fail it.
tampered=$(mktemp -d)
cp -r installer/. "$tampered/"
sed -i '/^LangString StartNow /d' "$tampered/languages/Korean.nsh"
python3 tests/install/check_languages.py "$tampered" >/dev/null &&
  fail "the language check passes a text missing in Korean" || pass
cp -r installer/. "$tampered/"
sed -i 's/"$(WindowsTooOld)"/"Lumitrax needs a newer Windows."/' "$tampered/lumitrax.nsi"
python3 tests/install/check_languages.py "$tampered" >/dev/null &&
  fail "the language check passes a message box in English words" || pass
rm -rf "$tampered"

echo "== the package-manager manifests"
python3 tests/package/check_manifests.py dist "$version" "$release_url" && pass || fail "the manifests"
# The check itself: a manifest whose hash is not the file's must fail it.
tampered=$(mktemp -d)
cp -r dist/. "$tampered/"
sed -i 's/"hash": "[0-9a-f]/"hash": "x/' "$tampered/manifests/scoop/lumitrax.json"
python3 tests/package/check_manifests.py "$tampered" "$version" "$release_url" >/dev/null &&
  fail "the manifest check passes a wrong hash" || pass
rm -rf "$tampered"

echo "== installing, upgrading and uninstalling under Wine"
mkdir -p build/windows/test-results
rm -f build/windows/test-results/install_tests.xml
export LUMITRAX_SETUP_EXE="Z:${setup//\//\\}"
(cd build/windows && ../../scripts/bench.sh --timeout 900 -- \
  wine install_tests.exe --gtest_filter=-InstallerLanguage.* --gtest_output=xml:test-results/install_tests.xml) ||
  status=1

# Wine takes the user's display language from the locale it runs in; the
# locales are made here from Debian's sources (package locales), so the
# machine needs none installed. Finnish has no texts of ours: English.
echo "== the installer's language under Wine: German, Japanese, Chinese (Hong Kong), Finnish"
locales=$(mktemp -d)
for run in de_DE:1031 ja_JP:1041 zh_HK:1028 fi_FI:1033; do
  locale=${run%%:*}
  # (localedef ends with 1 for mere warnings: the made locale is what counts.)
  localedef -i "$locale" -f UTF-8 "$locales/$locale.UTF-8" >/dev/null 2>&1
  if [ ! -d "$locales/$locale.UTF-8" ]; then
    fail "localedef could not make the locale $locale.UTF-8"
    continue
  fi
  rm -f "build/windows/test-results/install_tests_$locale.xml"
  (cd build/windows && LOCPATH=$locales LANG=$locale.UTF-8 LC_ALL=$locale.UTF-8 \
    LUMITRAX_EXPECTED_LANGUAGE=${run#*:} ../../scripts/bench.sh --timeout 600 -- \
    wine install_tests.exe --gtest_brief=1 --gtest_filter='InstallerLanguage.*' \
    --gtest_output="xml:test-results/install_tests_$locale.xml") || fail "the installer in $locale"
done
rm -rf "$locales"

echo "== signing with a throwaway certificate"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Lumitrax test signing" \
  -addext "extendedKeyUsage=codeSigning" -keyout "$work/key.pem" -out "$work/cert.pem" >/dev/null 2>&1
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -passout pass:"throwaway pass" \
  -out "$work/sign.pfx" >/dev/null 2>&1
if LUMITRAX_SIGN_PFX="$work/sign.pfx" LUMITRAX_SIGN_PASSWORD="throwaway pass" LUMITRAX_DIST_DIR="$work/dist" \
  scripts/package.sh >"$work/package.log" 2>&1; then
  pass
  python3 -m zipfile -e "$work/dist/Lumitrax-$version-portable.zip" "$work/zip" >/dev/null
  for file in "$work/dist/Lumitrax-$version-setup.exe" "$work/zip/Lumitrax.exe"; do
    if osslsigncode verify -CAfile "$work/cert.pem" -in "$file" >"$work/verify.log" 2>&1; then
      pass
    else
      cat "$work/verify.log"
      fail "osslsigncode does not accept $(basename "$file")"
    fi
  done
  (cd "$work/dist" && sha256sum --quiet -c SHA256SUMS) && pass || fail "SHA256SUMS of the signed files"
  site_url=$(sed -n 's/^LUMITRAX_SITE_URL:STRING=//p' build/windows/CMakeCache.txt)
  python3 tests/package/check_manifests.py "$work/dist" "$version" "$site_url/download/$version" && pass ||
    fail "the manifests of the signed files (default release address)"
else
  cat "$work/package.log"
  fail "scripts/package.sh with a signing certificate"
fi

echo "test-package: $checks checks of the release files passed"
exit $status
