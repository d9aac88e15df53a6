#!/bin/sh
# Writes the benchmark's documents into OUTDIR, all of them copies of plain-50.pdf (50 pages):
#   ours-cert-aes128.pdf    our generator, V 4 AESV2, for alice
#   qpdf-password-aes128.pdf  qpdf, AES-128, user password "user"
#   pdfbox-v2.pdf, pdfbox-v5.pdf    PDFBox for alice: RC4-128 (V 2) and AES-256 (V 5)
#   pdfbox-password-rc4.pdf, pdfbox-password-aes256.pdf   PDFBox, user password "user"
#   recipient.der           a recipient string for alice on its own (seed and permissions)
# usage: make-bench-documents.sh SCRIPTS_DIR OUTDIR   (SCRIPTS_DIR: tests/pubsec)
set -eu

scripts=$1
out=$2
mkdir -p "$out"
sh "$scripts/make-certs.sh" "$out"
"${PYTHON:-python3}" "$scripts/make-pubsec.py" --pages 50 plain "$out/plain-50.pdf"
"${PYTHON:-python3}" "$scripts/make-pubsec.py" --pages 50 v4-aes "$out/ours-cert-aes128.pdf" \
    "$out/alice.pem"
qpdf "$out/plain-50.pdf" --encrypt user owner 128 --use-aes=y -- "$out/qpdf-password-aes128.pdf"
sh "$scripts/make-pdfbox.sh" --with-passwords "$out/plain-50.pdf" "$out" "$out/alice.pem"
rm -f "$out/pdfbox-v1.pdf"
head -c 24 /dev/urandom | openssl cms -encrypt -binary -outform DER -aes-128-cbc \
    "$out/alice.pem" >"$out/recipient.der"
