#!/usr/bin/env bash
# One signature covers setup.exe, the installed uninstaller and its temporary
# copy, since all three are the same file. Signs a copy of the build's
# setup.exe with a throwaway certificate (scripts/sign.sh, the password from
# the environment; once more from a file; with a wrong password and with an
# unreachable time-stamp server, which must leave the program as it was),
# verifies the signature against that certificate, then installs and removes
# the sample package with the signed file as its setup.exe and OrvUnInst.exe
# in a fresh Wine prefix and verifies the installed uninstaller and the
# temporary copy left for the restart. Wine checks no signature: osslsigncode
# verifies each file's structure and digest against the certificate.
#
#   sign_check.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
top=$1
build=$2
wine_root=$build/wine
mkdir -p "$wine_root/runs"
# Under the build: the run's prefix hard-links the template's system folders.
work=$(mktemp -d "$wine_root/runs/signing.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() { echo "FAIL: $*"; exit 1; }

# A self-signed code-signing certificate and its PKCS#12 file, made here.
make_certificate() {  # NAME: NAME.pem, NAME.key
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=$1/O=Tamberlin Technology LLC" \
    -addext keyUsage=critical,digitalSignature -addext extendedKeyUsage=codeSigning \
    -keyout "$1.key" -out "$1.pem" 2>/dev/null
}
make_certificate vendor
make_certificate stranger
(umask 077 && openssl rand -hex 16 | tr -d '\n' >password && printf 'not the password' >wrong-password)
openssl pkcs12 -export -inkey vendor.key -in vendor.pem -out vendor.p12 -passout file:password

cp "$build/bin/setup.exe" signed.exe
ORV_TEST_SIGN_PASSWORD=$(cat password) "$top/scripts/sign.sh" --pkcs12 vendor.p12 \
  --password-env ORV_TEST_SIGN_PASSWORD --description "Orvelle 6" signed.exe
cp "$build/bin/setup.exe" from-file.exe
"$top/scripts/sign.sh" --pkcs12 vendor.p12 --password-file password from-file.exe
# A wrong password, a time-stamp server that cannot be reached (this
# machine's discard port): the program stays as it was.
cp "$build/bin/setup.exe" refused.exe
for refused in "--password-file wrong-password" "--password-file password --timestamp-url http://127.0.0.1:9/"; do
  # shellcheck disable=SC2086
  if "$top/scripts/sign.sh" --pkcs12 vendor.p12 $refused refused.exe 2>/dev/null; then
    fail "signing with $refused succeeded"
  fi
  cmp -s refused.exe "$build/bin/setup.exe" || fail "a failed signing ($refused) changed the program"
  [ -z "$(ls refused.exe.signing.* 2>/dev/null)" ] || fail "a failed signing left its temporary file"
done

verify() {  # FILE LABEL: verified against the vendor's certificate
  osslsigncode verify -CAfile vendor.pem -in "$1" >"verify-$2.txt" 2>&1 || { cat "verify-$2.txt"; fail "$2: not verified"; }
  grep -q '^Signature verification: ok' "verify-$2.txt" || fail "$2: no valid signature"
  echo "$2: $(grep -m1 'Subject:' "verify-$2.txt" | sed 's/^\s*//'), $(grep -m1 '^Signature verification' "verify-$2.txt")"
}
verify signed.exe setup.exe
verify from-file.exe "setup.exe (password from a file)"
if osslsigncode verify -CAfile stranger.pem -in signed.exe >/dev/null 2>&1; then
  fail "the signature verified against another certificate"
fi
sed -n '/^Message digest algorithm/,/^Signer.s certificate/p' verify-setup.exe.txt | head -n 4

# The sample package with the signed file as its setup and uninstaller.
cp -a "$build/sample-package" package
cp signed.exe package/setup.exe
cp signed.exe package/OrvUnInst.exe
in_prefix() { ORV_WINE_RUN_DIR="$work/run" "$top/scripts/wine-run.sh" --root "$wine_root" "$@" 2>>wine.log; }
drive_c=$work/run/prefix/drive_c

status=0; in_prefix "$work/package/setup.exe" -install -s || status=$?
[ "$status" = 0 ] || { tail -n 5 wine.log; fail "setup.exe -install -s ended with $status"; }
installed=$(find "$drive_c" -maxdepth 2 -type d -name 'Orvelle 6' -path '*Program Files*' | head -n1)
[ -n "$installed" ] || fail "nothing was installed"
cmp -s "$installed/OrvUnInst.exe" signed.exe || fail "the installed uninstaller is not the signed file"
verify "$installed/OrvUnInst.exe" OrvUnInst.exe

relative=${installed#"$drive_c"/}
status=0; in_prefix --wait-all "C:\\${relative//\//\\}\\OrvUnInst.exe" -s -wait || status=$?
[ "$status" = 0 ] || { tail -n 5 wine.log; fail "OrvUnInst.exe -s -wait ended with $status"; }
[ ! -e "$installed" ] || fail "the installed folder is still there"
mapfile -t copies < <(find "$drive_c/users" -path '*/Temp/uni*.tmp')
[ "${#copies[@]}" = 1 ] || fail "expected one temporary copy of the uninstaller, found ${#copies[@]}"
cmp -s "${copies[0]}" signed.exe || fail "the temporary copy is not the signed file"
verify "${copies[0]}" "$(basename "${copies[0]}") (temporary copy)"
echo "one signature: setup.exe, the installed OrvUnInst.exe and its temporary copy are the same signed file"
