#!/usr/bin/env python3
"""Documents for the Chinese-font tests, written into <outdir>:

    python3 tests/cjk/make-cjk-fixtures.py <outdir> --font FONT
    python3 tests/cjk/make-cjk-fixtures.py <outdir> --font FONT --bench-pages

With --bench-pages it writes full pages of Chinese text for the benchmark
instead (bench/cjk).

Every text is drawn twice where it matters: once the way legacy Chinese producers
wrote it (GBK bytes in a simple TrueType font named after a Chinese font), and
once the ordinary way (a composite font the reader handles without help), on
identical pages, so that a test can compare the two renderings pixel by pixel.

Needs fontTools (Debian python3-fonttools) for the embedded font subset and
reportlab (Debian python3-reportlab) for the document made by another producer.
The embedded subset comes from the free font given with --font (WenQuanYi Zen
Hei); output is deterministic for a given font file.
"""

import argparse
import io
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                "..", "fixtures"))
from pdfgen import HexString, Name, PdfWriter  # noqa: E402

PAGE = (300, 100)
ORIGIN = (20, 40)     # baseline start of every test string
SIZE = 24
TEXT = "中文1测试"     # GBK: D6D0 CEC4 31 B2E2 CAD4
FULL_WIDTH = 1000
DIGIT_WIDTH = 500     # the simple font's width for byte 0x31
FIXED_WIDTH = 600


def gbk(text):
    return text.encode("gbk")


def gbk_widths():
    """A GBK producer's width table: half width for ASCII, full for lead bytes."""
    return [DIGIT_WIDTH if 0x20 <= b <= 0x7E else FULL_WIDTH for b in range(256)]


def fixed_widths():
    """Poppler takes a font whose widths are all equal for fixed-width."""
    return [FIXED_WIDTH] * 256


def descriptor(writer, name, flags=4, font_file=None):
    entries = {"Type": Name("FontDescriptor"), "Flags": flags,
               "FontBBox": [0, -200, 1000, 1000], "ItalicAngle": 0,
               "Ascent": 1000, "Descent": -200, "CapHeight": 700, "StemV": 80}
    if name is not None:
        entries["FontName"] = Name(name)
    if font_file is not None:
        entries["FontFile2"] = font_file
    return writer.add(entries)


def simple_truetype(writer, name, font_file=None, flags=4, widths=None):
    """A simple TrueType font; name None leaves out every name entry."""
    font = {"Type": Name("Font"), "Subtype": Name("TrueType"),
            "FirstChar": 0, "LastChar": 255, "Widths": widths or gbk_widths(),
            "Encoding": Name("WinAnsiEncoding"),
            "FontDescriptor": descriptor(writer, name, flags, font_file)}
    if name is not None:
        font["BaseFont"] = Name(name)
    return writer.add(font)


def stsong(writer):
    """The non-embedded STSong-Light composite font over UniGB-UCS2-H."""
    cid_font = writer.add({
        "Type": Name("Font"), "Subtype": Name("CIDFontType0"),
        "BaseFont": Name("STSong-Light"),
        "CIDSystemInfo": {"Registry": "Adobe", "Ordering": "GB1",
                          "Supplement": 2},
        "FontDescriptor": descriptor(writer, "STSong-Light", flags=6),
        # UniGB-UCS2-H sends the digit one to CID 18, here as wide as the GBK
        # font draws byte 0x31.
        "DW": FULL_WIDTH, "W": [18, 18, DIGIT_WIDTH]})
    return writer.add({
        "Type": Name("Font"), "Subtype": Name("Type0"),
        "BaseFont": Name("STSong-Light"), "Encoding": Name("UniGB-UCS2-H"),
        "DescendantFonts": [cid_font]})


def identity_font(writer, name, font_file, widths_by_gid):
    """An embedded TrueType composite font whose codes are glyph indices."""
    w = []
    for gid, width in sorted(widths_by_gid.items()):
        w += [gid, gid, width]
    cid_font = writer.add({
        "Type": Name("Font"), "Subtype": Name("CIDFontType2"),
        "BaseFont": Name(name),
        "CIDSystemInfo": {"Registry": "Adobe", "Ordering": "Identity",
                          "Supplement": 0},
        "FontDescriptor": descriptor(writer, name, flags=4,
                                     font_file=font_file),
        "DW": FULL_WIDTH, "W": w, "CIDToGIDMap": Name("Identity")})
    return writer.add({
        "Type": Name("Font"), "Subtype": Name("Type0"),
        "BaseFont": Name(name), "Encoding": Name("Identity-H"),
        "DescendantFonts": [cid_font]})


def show(tag, operand, x=ORIGIN[0], y=ORIGIN[1], size=SIZE):
    return "BT /%s %d Tf %d %d Td %s Tj ET" % (tag, size, x, y, operand)


def hex_operand(data):
    return "<" + data.hex().upper() + ">"


def page_document(writer, fonts, lines, size=PAGE, extra=None):
    content = ("\n".join(lines) + "\n").encode("latin-1")
    stream = writer.add_stream(content)
    pages = writer.reserve()
    resources = {"Font": fonts}
    resources.update(extra or {})
    page = writer.add({"Type": Name("Page"), "Parent": pages,
                       "MediaBox": [0, 0, size[0], size[1]],
                       "Resources": resources, "Contents": stream})
    writer.set(pages, {"Type": Name("Pages"), "Kids": [page], "Count": 1})
    return writer.add({"Type": Name("Catalog"), "Pages": pages})


def write(outdir, name, writer, root):
    with open(os.path.join(outdir, name), "wb") as out:
        out.write(writer.to_bytes(root, file_id=name.encode("utf-8")))


def one_font_document(outdir, name, make_font, operand):
    writer = PdfWriter()
    root = page_document(writer, {"F": make_font(writer)},
                         [show("F", operand)])
    write(outdir, name, writer, root)


def subset(font_path, text):
    """The glyphs of `text` from the first face of font_path, renumbered (so
    that glyph indices say nothing about characters), with their Unicode cmap."""
    import logging
    from fontTools import subset as ftsubset
    from fontTools.ttLib import TTFont
    logging.getLogger("fontTools").setLevel(logging.ERROR)
    font = TTFont(font_path, fontNumber=0)
    options = ftsubset.Options()
    options.notdef_outline = True
    options.name_IDs = ["*"]
    subsetter = ftsubset.Subsetter(options)
    subsetter.populate(unicodes=[ord(c) for c in text])
    subsetter.subset(font)
    out = io.BytesIO()
    font.save(out)
    data = out.getvalue()
    cmap = TTFont(io.BytesIO(data)).getBestCmap()
    glyph_order = TTFont(io.BytesIO(data)).getGlyphOrder()
    gids = {ch: glyph_order.index(cmap[ord(ch)]) for ch in text}
    return data, gids


def embedded_documents(outdir, font_path):
    data, gids = subset(font_path, TEXT)

    # 黑体, embedded: GBK bytes through the font's own glyphs.
    writer = PdfWriter()
    font_file = writer.add_stream(data, {"Length1": len(data)}, compress=True)
    root = page_document(
        writer, {"F": simple_truetype(writer, gbk("黑体").decode("latin-1"),
                                      font_file)},
        [show("F", hex_operand(gbk(TEXT)))])
    write(outdir, "gbk-hei-embedded.pdf", writer, root)

    # The same glyphs chosen by index.
    writer = PdfWriter()
    font_file = writer.add_stream(data, {"Length1": len(data)}, compress=True)
    widths = {gid: DIGIT_WIDTH if ch.isascii() else FULL_WIDTH
              for ch, gid in gids.items()}
    codes = b"".join(gids[ch].to_bytes(2, "big") for ch in TEXT)
    root = page_document(
        writer, {"F": identity_font(writer, "ZenHeiSubset", font_file, widths)},
        [show("F", hex_operand(codes))])
    write(outdir, "gbk-hei-embedded-reference.pdf", writer, root)


def named_cid_font(writer, name, ordering):
    """A non-embedded TrueType composite font of an Adobe collection."""
    cid_font = writer.add({
        "Type": Name("Font"), "Subtype": Name("CIDFontType2"),
        "BaseFont": Name(name),
        "CIDSystemInfo": {"Registry": "Adobe", "Ordering": ordering,
                          "Supplement": 2},
        "FontDescriptor": descriptor(writer, name, flags=4), "DW": FULL_WIDTH})
    return writer.add({
        "Type": Name("Font"), "Subtype": Name("Type0"),
        "BaseFont": Name(name), "Encoding": Name("Identity-H"),
        "DescendantFonts": [cid_font]})


def same_name_documents(outdir):
    """Two documents whose non-embedded fonts share the name "Mingti": a
    Japanese composite font in one, a Chinese composite font and a simple font
    in the other."""
    for ordering, fonts in (("Japan1", ("Cid",)), ("GB1", ("Cid", "Simple"))):
        writer = PdfWriter()
        made = {"Cid": lambda w: named_cid_font(w, "Mingti", ordering),
                "Simple": lambda w: simple_truetype(w, "Mingti")}
        resources = {tag: made[tag](writer) for tag in fonts}
        lines = [show(tag, "<0001>", y=60 - 30 * row)
                 for row, tag in enumerate(resources)]
        root = page_document(writer, resources, lines)
        write(outdir, "same-name-%s.pdf" % ordering.lower(), writer, root)


def font_state(writer, font, operand):
    """A graphics state that sets the font; the page draws text with it."""
    state = {"Type": Name("ExtGState"), "Font": [font, SIZE]}
    return state, ["/S gs BT %d %d Td %s Tj ET" % (ORIGIN[0], ORIGIN[1], operand)]


def soft_mask_state(writer, font, operand):
    """A graphics state whose soft mask's group draws white text on black;
    the page's black fill then shows where the text is."""
    group = "0 g 0 0 %d %d re f 1 g %s" % (PAGE[0], PAGE[1], show("F", operand))
    form = writer.add_stream(group.encode("latin-1"), {
        "Type": Name("XObject"), "Subtype": Name("Form"),
        "BBox": [0, 0, PAGE[0], PAGE[1]],
        "Group": {"S": Name("Transparency"), "CS": Name("DeviceGray")},
        "Resources": {"Font": {"F": font}}})
    mask = {"Type": Name("Mask"), "S": Name("Luminosity"), "G": form}
    state = {"Type": Name("ExtGState"), "SMask": mask}
    return state, ["/S gs 0 g 0 0 %d %d re f" % PAGE]


def state_font_documents(outdir):
    """The text drawn with fonts that no Font resource names, but a graphics
    state: each with the GBK-coded 宋体 and, as its reference, with STSong over
    Unicode."""
    song = gbk("宋体").decode("latin-1")
    fonts = {"": (lambda w: simple_truetype(w, song), hex_operand(gbk(TEXT))),
             "-reference": (stsong, hex_operand(TEXT.encode("utf-16-be")))}
    for name, make_state in (("gbk-state-font", font_state),
                             ("gbk-soft-mask", soft_mask_state)):
        for suffix, (make_font, operand) in fonts.items():
            writer = PdfWriter()
            state, lines = make_state(writer, make_font(writer), operand)
            root = page_document(writer, {}, lines,
                                 extra={"ExtGState": {"S": state}})
            write(outdir, name + suffix + ".pdf", writer, root)


def font_choice_document(outdir):
    """One line per font whose substitute file is chosen by name or flags."""
    writer = PdfWriter()
    gbk_text = hex_operand(gbk(TEXT))
    fonts = {
        "Song": simple_truetype(writer, gbk("宋体").decode("latin-1")),
        "Hei": simple_truetype(writer, gbk("黑体").decode("latin-1")),
        "SongBold": simple_truetype(writer, gbk("宋体,Bold").decode("latin-1")),
        "Verdana": simple_truetype(writer, "Verdana"),
        "Arial": simple_truetype(writer, "Arial"),
        "ArialBold": simple_truetype(writer, "Arial,Bold"),
        "NoNameSerif": simple_truetype(writer, None, flags=2 | 4),
        "NoNameFixed": simple_truetype(writer, None, flags=1 | 4,
                                       widths=fixed_widths()),
        "STSong": stsong(writer),
    }
    lines = []
    for row, tag in enumerate(fonts):
        operand = "<4E2D6587>" if tag == "STSong" else (
            gbk_text if tag in ("Song", "Hei", "SongBold") else "(Abc)")
        lines.append(show(tag, operand, y=770 - 40 * row, size=20))
    root = page_document(writer, fonts, lines, size=(300, 800))
    write(outdir, "font-choice.pdf", writer, root)


def reportlab_document(outdir):
    """STSong-Light as reportlab writes it, at the position and size of the
    generator's own cjk.pdf: "中文测试" at (72, 700), 16 points, US letter."""
    from reportlab.lib.pagesizes import letter
    from reportlab.pdfbase import pdfmetrics
    from reportlab.pdfbase.cidfonts import UnicodeCIDFont
    from reportlab.pdfgen import canvas
    pdfmetrics.registerFont(UnicodeCIDFont("STSong-Light"))
    path = os.path.join(outdir, "stsong-reportlab.pdf")
    pdf = canvas.Canvas(path, pagesize=letter, invariant=1)
    pdf.setFont("STSong-Light", 16)
    pdf.drawString(72, 700, "中文测试")
    pdf.showPage()
    pdf.save()


BENCH_PAGE = (595, 842)
BENCH_LINES = 40
BENCH_COLUMNS = 30
BENCH_SIZE = 16


def bench_text():
    """Lines of distinct GB2312 characters, read from the first rows of level 1."""
    chars = []
    lead = 0xB0
    while len(chars) < BENCH_LINES * BENCH_COLUMNS:
        for trail in range(0xA1, 0xFF):
            chars.append(bytes([lead, trail]).decode("gbk"))
        lead += 1
    chars = chars[:BENCH_LINES * BENCH_COLUMNS]
    return ["".join(chars[i:i + BENCH_COLUMNS])
            for i in range(0, len(chars), BENCH_COLUMNS)]


def bench_document(outdir, name, make_font, operands):
    writer = PdfWriter()
    lines = [show("F", operand, x=30, y=BENCH_PAGE[1] - 40 - 19 * row,
                  size=BENCH_SIZE)
             for row, operand in enumerate(operands)]
    root = page_document(writer, {"F": make_font(writer)}, lines,
                         size=BENCH_PAGE)
    write(outdir, name, writer, root)


def bench_pages(outdir, font_path):
    """One page of Chinese text four ways: GBK-coded and ordinary, each with an
    embedded font subset and with a font the reader substitutes."""
    text = bench_text()
    data, gids = subset(font_path, "".join(text))
    hei = gbk("黑体").decode("latin-1")

    def embedded(writer, make):
        font_file = writer.add_stream(data, {"Length1": len(data)},
                                      compress=True)
        return make(writer, font_file)

    bench_document(
        outdir, "gbk-embedded.pdf",
        lambda w: embedded(w, lambda w2, f: simple_truetype(w2, hei, f)),
        [hex_operand(gbk(line)) for line in text])
    bench_document(
        outdir, "ordinary-embedded.pdf",
        lambda w: embedded(w, lambda w2, f: identity_font(
            w2, "ZenHeiSubset", f, {gid: FULL_WIDTH for gid in gids.values()})),
        [hex_operand(b"".join(gids[c].to_bytes(2, "big") for c in line))
         for line in text])
    bench_document(
        outdir, "gbk-substitute.pdf",
        lambda w: simple_truetype(w, gbk("宋体").decode("latin-1")),
        [hex_operand(gbk(line)) for line in text])
    bench_document(
        outdir, "ordinary-substitute.pdf", stsong,
        [hex_operand(line.encode("utf-16-be")) for line in text])


def main(argv):
    parser = argparse.ArgumentParser()
    parser.add_argument("outdir")
    parser.add_argument("--font", required=True,
                        help="TrueType font (or collection) to subset")
    parser.add_argument("--bench-pages", action="store_true",
                        help="write the benchmark's pages instead")
    args = parser.parse_args(argv[1:])
    os.makedirs(args.outdir, exist_ok=True)
    if args.bench_pages:
        bench_pages(args.outdir, args.font)
        return 0
    one_font_document(args.outdir, "gbk-song.pdf",
                      lambda w: simple_truetype(w, gbk("宋体").decode("latin-1")),
                      hex_operand(gbk(TEXT)))
    one_font_document(args.outdir, "gbk-song-bold.pdf",
                      lambda w: simple_truetype(
                          w, gbk("宋体,Bold").decode("latin-1")),
                      hex_operand(gbk(TEXT)))
    one_font_document(args.outdir, "gbk-song-reference.pdf", stsong,
                      hex_operand(TEXT.encode("utf-16-be")))
    embedded_documents(args.outdir, args.font)
    font_choice_document(args.outdir)
    state_font_documents(args.outdir)
    same_name_documents(args.outdir)
    reportlab_document(args.outdir)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
