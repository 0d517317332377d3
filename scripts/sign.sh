#!/usr/bin/env bash
# Signs one Windows executable in place with osslsigncode, with the PKCS#12
# file LUMITRAX_SIGN_PFX and its password LUMITRAX_SIGN_PASSWORD (handed over
# in a file, never on a command line), time-stamped when
# LUMITRAX_SIGN_TIMESTAMP_URL is set. Used by scripts/package.sh.
set -euo pipefail
file=$1
[ -n "${LUMITRAX_SIGN_PFX:-}" ] || { echo "sign: LUMITRAX_SIGN_PFX is not set" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
umask 077
printf '%s' "${LUMITRAX_SIGN_PASSWORD:-}" >"$work/pass"
args=(sign -pkcs12 "$LUMITRAX_SIGN_PFX" -readpass "$work/pass" -h sha256 -n Lumitrax)
[ -n "${LUMITRAX_SIGN_TIMESTAMP_URL:-}" ] && args+=(-ts "$LUMITRAX_SIGN_TIMESTAMP_URL")
osslsigncode "${args[@]}" -in "$file" -out "$work/signed" >"$work/log" 2>&1 || { cat "$work/log" >&2; exit 1; }
cat "$work/signed" >"$file"
echo "signed $(basename "$file")"
