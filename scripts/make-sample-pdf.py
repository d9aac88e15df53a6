#!/usr/bin/env python3
"""Writes the bundled sample document res/sample/sample.pdf.

Usage: python3 scripts/make-sample-pdf.py [out.pdf]

Six pages of mixed sizes (A4, US Letter, A4 landscape, a small card), a
two-level outline with Chinese and Latin titles, Chinese text in the
non-embedded STSong-Light font and a few coloured shapes. The output is
deterministic, so regenerating it leaves the committed file unchanged.
"""

import importlib.util
import os
import sys

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def load_pdfgen():
    path = os.path.join(REPO, "tests", "fixtures", "pdfgen.py")
    found = importlib.util.spec_from_file_location("pdfgen", path)
    module = importlib.util.module_from_spec(found)
    found.loader.exec_module(module)
    return module


pdfgen = load_pdfgen()
Content = pdfgen.Content
Name = pdfgen.Name
OutlineItem = pdfgen.OutlineItem

A4_LANDSCAPE = (842, 595)
CARD = (300, 200)

BLUE = (0.16, 0.38, 0.71)
ORANGE = (0.93, 0.49, 0.13)
GREEN = (0.22, 0.62, 0.31)
GREY = (0.85, 0.85, 0.85)
WHITE = (1, 1, 1)


def header(width, height, heading, subtitle):
    """A coloured band across the top with the page heading in Chinese."""
    content = Content()
    content.fill_rect(0, height - 70, width, 70, BLUE)
    content.cjk_text(36, height - 45, heading, size=22, rgb=WHITE)
    content.text(36, height - 62, subtitle, size=10, rgb=WHITE)
    content.line(36, height - 80, width - 36, height - 80, ORANGE, width=2)
    return content


def footer(content, width, number):
    content.line(36, 40, width - 36, 40, GREY)
    content.text(width - 80, 24, "Page %d" % number, size=9)
    return content


def page_intro(size):
    width, height = size
    content = header(width, height, "第一章 简介", "Chapter 1 - Introduction")
    y = height - 120
    for line in ("欢迎使用本示例文档。", "本文档用于演示阅读器的各项功能：",
                 "书签、缩放、旋转、文本选择和打印。"):
        content.cjk_text(48, y, line, size=14)
        y -= 24
    content.text(48, y - 10, "This sample shows bookmarks, zoom, rotation,",
                 size=12)
    content.text(48, y - 26, "text selection and printing.", size=12)
    for index, colour in enumerate((BLUE, ORANGE, GREEN)):
        content.fill_rect(48 + index * 170, 260, 150, 100, colour)
    return content


def page_about(size):
    width, height = size
    content = header(width, height, "1.1 关于本文档", "About this document")
    content.cjk_text(48, height - 120, "每一页的尺寸各不相同。", size=14)
    content.text(48, height - 145, "This page is A4 portrait (595 x 842 pt).")
    for step in range(8):
        y = height - 200 - step * 40
        content.line(48, y, width - 48, y - 30, GREEN, width=1 + step * 0.5)
    return content


def page_letter(size):
    width, height = size
    content = header(width, height, "第二章 页面尺寸", "Chapter 2 - Page sizes")
    content.text(48, height - 120, "US Letter: 612 x 792 pt.", size=14)
    content.cjk_text(48, height - 150, "美国信纸尺寸。", size=14)
    content.fill_rect(48, 200, width - 96, 300, GREY)
    content.fill_rect(72, 224, width - 144, 252, ORANGE)
    return content


def page_landscape(size):
    width, height = size
    content = header(width, height, "2.1 横向页面", "Landscape page")
    content.text(48, height - 120, "A4 landscape: 842 x 595 pt.", size=14)
    for column in range(6):
        bar = 60 + column * 45
        content.fill_rect(60 + column * 120, 80, 80, bar,
                          BLUE if column % 2 == 0 else GREEN)
    return content


def page_card(size):
    width, height = size
    content = Content()
    content.fill_rect(0, 0, width, height, (0.98, 0.95, 0.85))
    content.line(10, 10, width - 10, 10, ORANGE, width=3)
    content.cjk_text(20, height - 40, "2.2 小页面", size=18)
    content.text(20, height - 62, "Small page: 300 x 200 pt.", size=11)
    return content


def page_appendix(size):
    width, height = size
    content = header(width, height, "附录", "Appendix")
    content.cjk_text(48, height - 120, "中文字体：宋体（未嵌入）。", size=14)
    content.text(48, height - 145, "Latin font: Helvetica (not embedded).")
    content.line(48, 300, width - 48, 300, BLUE, width=4)
    content.line(48, 280, width - 48, 280, ORANGE, width=2)
    content.line(48, 264, width - 48, 264, GREEN, width=1)
    return content


PAGES = [
    (pdfgen.A4, page_intro),
    (pdfgen.A4, page_about),
    (pdfgen.US_LETTER, page_letter),
    (A4_LANDSCAPE, page_landscape),
    (CARD, page_card),
    (pdfgen.US_LETTER, page_appendix),
]


def build():
    doc = pdfgen.Document("VeskPDFReader sample", compress=True, cjk=True)
    doc.info = {"Title": "示例文档 Sample document"}
    pages = [None]
    for number, (size, draw) in enumerate(PAGES, 1):
        content = draw(size)
        if size != CARD:
            footer(content, size[0], number)
        pages.append(doc.add_page(content, media_box=pdfgen.box(*size)))

    def to(page):
        return pdfgen.goto([pages[page], Name("Fit")])

    doc.outline = [
        OutlineItem("第一章 简介", to(1), 1, [
            OutlineItem("1.1 关于本文档", to(2), 2),
        ]),
        OutlineItem("第二章 页面尺寸 Page sizes", to(3), 3, [
            OutlineItem("2.1 横向页面 Landscape", to(4), 4),
            OutlineItem("2.2 小页面 Small page", to(5), 5),
        ]),
        OutlineItem("附录 Appendix", to(6), 6),
    ]
    return doc


def main(argv):
    out = argv[1] if len(argv) > 1 else os.path.join(
        REPO, "res", "sample", "sample.pdf")
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    build().write(out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
