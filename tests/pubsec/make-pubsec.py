#!/usr/bin/env python3
"""Writes PDF documents encrypted for certificate holders (security handler Adobe.PubSec).

Usage:
    make-pubsec.py [--pages N] plain OUT.pdf
    make-pubsec.py [--pages N] [--one-envelope] [--flood N] [--damage KIND] VARIANT OUT.pdf
                   CERT.pem...

The document is pdfgen's "outline" recipe (six pages, an outline with UTF-16 titles, named
destinations) or, with --pages N, N plain pages; either way with an Info dictionary and an XMP
metadata stream. "plain" writes it unencrypted, so that a test can compare a decrypted copy
with it object for object.

Each CERT.pem becomes one element of /Recipients, in order: a CMS enveloped-data message
(made by the openssl command) holding a random 20-byte seed and 4 permission bytes. With
--one-envelope there is one element whose message lists every certificate as a recipient.
--flood N puts N elements before those: each a message for the first certificate whose
encrypted key is spoilt, so that trying it costs that certificate's holder a private-key
operation and never opens anything (RSA keys of 2048 bits).

VARIANT (the encryption dictionary):
    v1          /V 1, RC4 with a 40-bit key
    v2-40       /V 2 without /Length: RC4 with a 40-bit key
    v2-128      /V 2 /Length 128: RC4 with a 128-bit key
    v4-rc4      /V 4, crypt filter /CFM /V2: RC4 with a 128-bit key
    v4-aes      /V 4, crypt filter /CFM /AESV2: AES with a 128-bit key
    v4-aes-clear-metadata
                as v4-aes with /EncryptMetadata false: the metadata stream is stored in the
                clear and four FF bytes end the key digest's input
    v5-aes256   /V 5, crypt filter /CFM /AESV3: AES with a 256-bit key, SHA-256 digest

--damage KIND spoils every recipient string after the key is derived from the good ones:
    truncated   the first half of the DER message
    garbage     random bytes of the same length
    empty       an empty string
    signed      a CMS signed-data message (decodes without any key) instead
    oversize    an envelope whose content is 2000 bytes long

--break KIND spoils the encryption dictionary itself:
    no-crypt-filter       /V 4 without a /CF dictionary
    unknown-method        a crypt filter method /CFM /Unknown
    long-key              /V 2 /Length 256, more than a SHA-1 digest holds
    recipients-not-array  /Recipients is one string, not an array

Standard library only, apart from the openssl command (CMS envelopes and AES). The seeds are
random, so two runs never give the same bytes.
"""

import argparse
import hashlib
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                "..", "fixtures"))
import pdfgen  # noqa: E402
from pdfgen import HexString, Name  # noqa: E402

XMP = (b'<?xpacket begin="" id="W5M0MpCehiHzreSzNTczkc9d"?>\n'
       b'<x:xmpmeta xmlns:x="adobe:ns:meta/"><rdf:RDF '
       b'xmlns:rdf="http://www.w3.org/1999/02/22-rdf-syntax-ns#">'
       b'<rdf:Description rdf:about="" xmlns:dc="http://purl.org/dc/elements/1.1/">'
       b'<dc:title>PubSec fixture</dc:title></rdf:Description></rdf:RDF></x:xmpmeta>\n'
       b'<?xpacket end="w"?>')

# name: (V, /Length or None, crypt filter method or None, key bytes, EncryptMetadata)
VARIANTS = {
    "v1": (1, None, None, 5, True),
    "v2-40": (2, None, None, 5, True),
    "v2-128": (2, 128, None, 16, True),
    "v4-rc4": (4, None, "V2", 16, True),
    "v4-aes": (4, None, "AESV2", 16, True),
    "v4-aes-clear-metadata": (4, None, "AESV2", 16, False),
    "v5-aes256": (5, None, "AESV3", 32, True),
}

DAMAGES = ("truncated", "garbage", "empty", "signed", "oversize")
BREAKS = ("no-crypt-filter", "unknown-method", "long-key",
          "recipients-not-array")

# Every permission bit set, as the 4 bytes after the seed.
PERMISSIONS = b"\xff\xff\xff\xff"


def openssl(*args, data=None):
    return subprocess.run(("openssl",) + args, input=data, check=True,
                          capture_output=True).stdout


def envelope(content, certs):
    return openssl("cms", "-encrypt", "-binary", "-outform", "DER",
                   "-aes-128-cbc", *certs, data=content)


def signed_message(content, cert, key):
    return openssl("cms", "-sign", "-binary", "-nodetach", "-outform", "DER",
                   "-signer", cert, "-inkey", key, data=content)


# ---------------------------------------------------------------------------
# Object encryption (the standard per-object keys of RC4 and AES)


def rc4(key, data):
    state = list(range(256))
    j = 0
    for i in range(256):
        j = (j + state[i] + key[i % len(key)]) % 256
        state[i], state[j] = state[j], state[i]
    out = bytearray()
    i = j = 0
    for byte in data:
        i = (i + 1) % 256
        j = (j + state[i]) % 256
        state[i], state[j] = state[j], state[i]
        out.append(byte ^ state[(state[i] + state[j]) % 256])
    return bytes(out)


def aes_cbc(key, data):
    iv = os.urandom(16)
    cipher = "-aes-256-cbc" if len(key) == 32 else "-aes-128-cbc"
    return iv + openssl("enc", cipher, "-K", key.hex(), "-iv", iv.hex(),
                        data=data)


class ObjectCipher:
    def __init__(self, file_key, method):
        self.file_key = file_key
        self.method = method

    def encrypt(self, num, data):
        if self.method == "AESV3":
            return aes_cbc(self.file_key, data)
        salt = b"sAlT" if self.method == "AESV2" else b""
        seed = (self.file_key + num.to_bytes(3, "little") + b"\x00\x00"
                + salt)
        key = hashlib.md5(seed).digest()[:min(len(self.file_key) + 5, 16)]
        if self.method == "AESV2":
            return aes_cbc(key, data)
        return rc4(key, data)

    def value(self, num, value):
        """A copy of value with every string encrypted."""
        if isinstance(value, Name):
            return value
        if isinstance(value, str):
            return HexString(self.encrypt(num, value.encode("latin-1")))
        if isinstance(value, HexString):
            return HexString(self.encrypt(num, bytes(value)))
        if isinstance(value, (list, tuple)):
            return [self.value(num, item) for item in value]
        if isinstance(value, dict):
            return {key: self.value(num, item) for key, item in value.items()}
        if isinstance(value, pdfgen.Stream):
            data = self.encrypt(num, value.data)
            entries = self.value(num, value.entries)
            entries["Length"] = len(data)
            return pdfgen.Stream(entries, data)
        return value


# ---------------------------------------------------------------------------
# Document


def make_document(pages):
    if not pages:
        doc, _ = pdfgen.recipe_outline()
    else:
        doc = pdfgen.Document("pubsec-%d" % pages)
        height = 792
        for number in range(1, pages + 1):
            doc.add_page(pdfgen.page_label_content(number, height),
                         media_box=pdfgen.box(612, height))
    doc.info = {"Title": "PubSec fixture", "Subject": "证书加密"}
    return doc


def encrypt_dictionary(variant, recipients):
    version, length, method, _, encrypt_metadata = VARIANTS[variant]
    entries = {"Filter": Name("Adobe.PubSec"), "V": version}
    if method is None:
        entries["SubFilter"] = Name("adbe.pkcs7.s4")
        entries["Recipients"] = [HexString(r) for r in recipients]
        if length is not None:
            entries["Length"] = length
        return entries
    crypt_filter = {"CFM": Name(method), "Recipients":
                    [HexString(r) for r in recipients]}
    if not encrypt_metadata:
        crypt_filter["EncryptMetadata"] = False
    entries.update({"SubFilter": Name("adbe.pkcs7.s5"),
                    "CF": {"DefaultCryptFilter": crypt_filter},
                    "StmF": Name("DefaultCryptFilter"),
                    "StrF": Name("DefaultCryptFilter")})
    return entries


def break_dictionary(kind, entries):
    holder = entries["CF"]["DefaultCryptFilter"] if "CF" in entries else entries
    if kind == "no-crypt-filter":
        del entries["CF"]
    elif kind == "unknown-method":
        holder["CFM"] = Name("Unknown")
    elif kind == "long-key":
        entries["Length"] = 256
    else:
        holder["Recipients"] = holder["Recipients"][0]
    return entries


def file_key(variant, seed, recipients):
    version, _, _, key_bytes, encrypt_metadata = VARIANTS[variant]
    digest = hashlib.sha256() if version == 5 else hashlib.sha1()
    digest.update(seed)
    for recipient in recipients:
        digest.update(recipient)
    if not encrypt_metadata:
        digest.update(b"\xff\xff\xff\xff")
    return digest.digest()[:key_bytes]


def spoilt_key(block):
    """The block with a byte in the middle of its RSA-2048 encrypted key inverted."""
    octets_256 = b"\x04\x82\x01\x00"
    start = block.find(octets_256)
    if start < 0 or block.find(octets_256, start + 1) >= 0:
        raise ValueError("no single 2048-bit encrypted key in the message")
    middle = start + len(octets_256) + 128
    return block[:middle] + bytes([block[middle] ^ 0xFF]) + block[middle + 1:]


def make_recipients(args, content):
    flood = [spoilt_key(envelope(content, args.certs[:1]))] * args.flood
    if args.one_envelope:
        return flood + [envelope(content, args.certs)]
    return flood + [envelope(content, [cert]) for cert in args.certs]


def spoil(kind, good, args):
    if kind == "truncated":
        return good[:len(good) // 2]
    if kind == "garbage":
        return os.urandom(len(good))
    if kind == "empty":
        return b""
    if kind == "signed":
        key = os.path.splitext(args.certs[0])[0] + ".key"
        return signed_message(os.urandom(24), args.certs[0], key)
    return envelope(os.urandom(2000), args.certs[:1])


def install_encryption(doc, args):
    """Makes the document's writer encrypt every object on output."""
    writer = doc.writer
    write_plain = writer.to_bytes

    def to_bytes(root, info=None, file_id=b"pdfgen"):
        metadata = writer.add_stream(XMP, {"Type": Name("Metadata"),
                                           "Subtype": Name("XML")})
        writer._objects[root.num]["Metadata"] = metadata
        if args.variant == "plain":
            return write_plain(root, info, file_id)
        seed = os.urandom(20)
        recipients = make_recipients(args, seed + PERMISSIONS)
        key = file_key(args.variant, seed, recipients)
        if args.damage:
            recipients = [spoil(args.damage, r, args) for r in recipients]
        method = VARIANTS[args.variant][2]
        cipher = ObjectCipher(key, method or "V2")
        clear_metadata = not VARIANTS[args.variant][4]
        for num, value in list(writer._objects.items()):
            if not (clear_metadata and num == metadata.num):
                writer._objects[num] = cipher.value(num, value)
        entries = encrypt_dictionary(args.variant, recipients)
        if args.break_kind:
            entries = break_dictionary(args.break_kind, entries)
        encrypt = writer.add(entries)
        data = write_plain(root, info, file_id)
        # The trailer is not encrypted; it names the encryption dictionary.
        return data.replace(b"trailer\n<<",
                            b"trailer\n<</Encrypt %d 0 R " % encrypt.num, 1)

    writer.to_bytes = to_bytes


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--pages", type=int, default=0)
    parser.add_argument("--one-envelope", action="store_true")
    parser.add_argument("--flood", type=int, default=0)
    parser.add_argument("--damage", choices=DAMAGES)
    parser.add_argument("--break", dest="break_kind", choices=BREAKS)
    parser.add_argument("variant", choices=["plain"] + list(VARIANTS))
    parser.add_argument("out")
    parser.add_argument("certs", nargs="*")
    args = parser.parse_args(argv[1:])
    if args.variant != "plain" and not args.certs:
        parser.error("an encrypted variant needs at least one certificate")
    doc = make_document(args.pages)
    install_encryption(doc, args)
    doc.write(args.out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
