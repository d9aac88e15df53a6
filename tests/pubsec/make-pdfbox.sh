#!/bin/sh
# Encrypts SRC with Apache PDFBox (Debian's libpdfbox2-java), a producer whose files we do not
# write ourselves.
# usage: make-pdfbox.sh [--with-passwords] SRC OUTDIR CERT
# Writes into OUTDIR:
#   pdfbox-v1.pdf      for the holder of CERT, -keyLength 40: V 1, RC4 with a 40-bit key
#   pdfbox-v2.pdf      for the holder of CERT, -keyLength 128: V 2 /Length 128, RC4
#   pdfbox-v5.pdf      for the holder of CERT, -keyLength 256: V 5, AESV3
#   pdfbox-password-rc4.pdf, pdfbox-password-aes256.pdf   (with --with-passwords)
#                      with user password "user" and owner password "owner", 128 and 256 bits
# PDFBOX_JARS overrides the folder of the jars (default: Debian's /usr/share/java).
set -eu

passwords=no
if [ "${1:-}" = --with-passwords ]; then
    passwords=yes
    shift
fi
if [ "$#" -ne 3 ]; then
    echo "usage: $0 [--with-passwords] SRC OUTDIR CERT" >&2
    exit 2
fi
src=$1
out=$2
cert=$3
jars=${PDFBOX_JARS:-/usr/share/java}
classpath=
for jar in pdfbox2-tools pdfbox2 fontbox2 commons-logging bcprov bcpkix bcutil; do
    classpath="$classpath${classpath:+:}$jars/$jar.jar"
done
mkdir -p "$out"

encrypt() {
    name=$1
    shift
    java -cp "$classpath" org.apache.pdfbox.tools.Encrypt "$@" "$src" "$out/$name"
}

encrypt pdfbox-v1.pdf -certFile "$cert" -keyLength 40
encrypt pdfbox-v2.pdf -certFile "$cert" -keyLength 128
encrypt pdfbox-v5.pdf -certFile "$cert" -keyLength 256
if [ "$passwords" = yes ]; then
    encrypt pdfbox-password-rc4.pdf -U user -O owner -keyLength 128
    encrypt pdfbox-password-aes256.pdf -U user -O owner -keyLength 256
fi
