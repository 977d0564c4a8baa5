#!/usr/bin/env bash
# Signs a Windows program (Authenticode, SHA-256) with the vendor's
# certificate, in place:
#
#   sign.sh --pkcs12 FILE (--password-file FILE | --password-env NAME)
#           [--timestamp-url URL] [--description TEXT] [--url URL] EXE
#
# --pkcs12: the certificate with its private key (PKCS#12, .p12/.pfx).
# --password-file: a file holding the PKCS#12 password (one line).
# --password-env: the NAME of an environment variable holding it.
# The password never stands on a command line (which every user of the
# machine can read in the process list): osslsigncode reads it from a file,
# the one given or, for the environment variable, a temporary one of mode
# 600 that the shell's own printf writes and that is removed afterwards.
# --timestamp-url: an RFC 3161 time-stamp server; without one the signature
#   has no time stamp (it is then valid only while the certificate is).
# The program is signed into a temporary file beside it, which replaces it
# only when signing succeeded: a failure leaves EXE as it was, and exits 1.
set -euo pipefail

pkcs12="" password_file="" password_env="" timestamp_url="" description="" url=""
while [ $# -gt 1 ]; do
  case "$1" in
    --pkcs12) pkcs12=$2; shift 2 ;;
    --password-file) password_file=$2; shift 2 ;;
    --password-env) password_env=$2; shift 2 ;;
    --timestamp-url) timestamp_url=$2; shift 2 ;;
    --description) description=$2; shift 2 ;;
    --url) url=$2; shift 2 ;;
    *) echo "sign.sh: unknown option $1" >&2; exit 2 ;;
  esac
done
[ $# -eq 1 ] || { echo "usage: sign.sh --pkcs12 FILE (--password-file FILE | --password-env NAME) [--timestamp-url URL] EXE" >&2; exit 2; }
exe=$1
fail() { echo "sign.sh: $*" >&2; exit 1; }

command -v osslsigncode >/dev/null || fail "osslsigncode is not installed (scripts/install-deps.sh installs it)"
[ -f "$exe" ] || fail "no such program: $exe"
[ -r "$pkcs12" ] || fail "cannot read the certificate file: ${pkcs12:-(none given)}"
if [ -n "$password_file" ] && [ -n "$password_env" ]; then
  fail "give the password either as a file or as an environment variable, not both"
elif [ -n "$password_file" ]; then
  [ -r "$password_file" ] || fail "cannot read the password file: $password_file"
elif [ -n "$password_env" ]; then
  [[ "$password_env" =~ ^[A-Za-z_][A-Za-z0-9_]*$ ]] || fail "not an environment variable name: $password_env"
  [ -n "${!password_env+set}" ] || fail "the environment variable $password_env is not set"
else
  fail "no password given (--password-file or --password-env)"
fi

options=(sign -pkcs12 "$pkcs12" -h sha256)
[ -n "$description" ] && options+=(-n "$description")
[ -n "$url" ] && options+=(-i "$url")
[ -n "$timestamp_url" ] && options+=(-ts "$timestamp_url")

# The password from the environment goes into a file only this user can
# read, in a private temporary folder removed on exit.
work=$(mktemp -d)
signed=$(mktemp "$exe.signing.XXXXXX")
trap 'rm -rf "$work"; rm -f "$signed"' EXIT
rm -f "$signed"   # osslsigncode writes the output file itself
if [ -z "$password_file" ]; then
  password_file=$work/password
  (umask 077 && printf '%s' "${!password_env}" >"$password_file")
fi
osslsigncode "${options[@]}" -readpass "$password_file" -in "$exe" -out "$signed" >/dev/null \
  || fail "signing $exe failed"
[ -s "$signed" ] || fail "signing $exe wrote nothing"
chmod --reference="$exe" "$signed"
mv -f "$signed" "$exe"
echo "sign.sh: signed $exe${timestamp_url:+ (time-stamped by $timestamp_url)}"
