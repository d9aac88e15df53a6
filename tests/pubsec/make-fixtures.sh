#!/bin/sh
# Writes the certificate-encrypted test documents into OUTDIR. PYTHON names the interpreter.
#   alice.*, bob.*             certificates and keys (make-certs.sh)
#   plain.pdf                  the unencrypted document every other one is a copy of
#   v1 v2-40 v2-128 v4-rc4 v4-aes v4-aes-clear-metadata v5-aes256 .pdf
#                              our generator's variants, for alice
#   second-of-two.pdf          recipients [bob, alice]: only the second opens
#   one-envelope.pdf           one recipient string whose envelope lists bob, then alice
#   for-bob.pdf                for bob alone
#   flood-255 flood-4096 .pdf  255 or 4096 recipients for alice that cost a private-key
#                              operation each and never open, then alice's own: the 256th
#                              opens, the 4097th is never tried
#   damaged-KIND.pdf           alice's recipient string spoilt (make-pubsec.py --damage)
#   broken-KIND.pdf            the encryption dictionary spoilt (make-pubsec.py --break)
#   pdfbox-v1 pdfbox-v2 pdfbox-v5 .pdf
#                              plain.pdf encrypted for alice by Apache PDFBox (make-pdfbox.sh)
set -eu

if [ "$#" -ne 1 ]; then
    echo "usage: $0 OUTDIR" >&2
    exit 2
fi
here=$(dirname "$0")
out=$1
alice=$out/alice.pem
bob=$out/bob.pem

generate() {
    "${PYTHON:-python3}" "$here/make-pubsec.py" "$@"
}

sh "$here/make-certs.sh" "$out"
generate plain "$out/plain.pdf"
for variant in v1 v2-40 v2-128 v4-rc4 v4-aes v4-aes-clear-metadata v5-aes256; do
    generate "$variant" "$out/$variant.pdf" "$alice"
done
generate v4-aes "$out/second-of-two.pdf" "$bob" "$alice"
generate --one-envelope v4-aes "$out/one-envelope.pdf" "$bob" "$alice"
generate v4-aes "$out/for-bob.pdf" "$bob"
for flood in 255 4096; do
    generate --flood "$flood" v4-aes "$out/flood-$flood.pdf" "$alice"
done
for kind in truncated garbage empty signed oversize; do
    generate --damage "$kind" v4-aes "$out/damaged-$kind.pdf" "$alice"
done
for kind in no-crypt-filter unknown-method recipients-not-array; do
    generate --break "$kind" v4-aes "$out/broken-$kind.pdf" "$alice"
done
generate --break long-key v2-128 "$out/broken-long-key.pdf" "$alice"
sh "$here/make-pdfbox.sh" "$out/plain.pdf" "$out" "$alice"
