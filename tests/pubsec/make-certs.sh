#!/bin/sh
# Writes the certificates the certificate-encrypted fixtures are made for into OUTDIR:
#   alice.pem alice.key alice.p12   the test user's own (alice.p12 has an empty password);
#                                   imported into the test users' certificate databases
#   bob.pem bob.key                 someone else's: a document for bob alone stays closed
set -eu

if [ "$#" -ne 1 ]; then
    echo "usage: $0 OUTDIR" >&2
    exit 2
fi
out=$1
mkdir -p "$out"

for name in alice bob; do
    openssl req -x509 -newkey rsa:2048 -nodes -days 36500 -subj "/CN=$name/O=VeskPDFReader tests" \
        -keyout "$out/$name.key" -out "$out/$name.pem" 2>/dev/null
done
openssl pkcs12 -export -name alice -passout pass: -inkey "$out/alice.key" -in "$out/alice.pem" \
    -out "$out/alice.p12"
