#include "engine/TextSelection.h"

#include <TextOutputDev.h>
#include <UnicodeMap.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <initializer_list>

namespace {

using Line = CPageText::Line;

// Baselines closer than this fraction of the font size share a line.
constexpr double kMaxIntraLineDelta = 0.5;
constexpr int kRotations = 4;

// Poppler's TextLineFrag, laid out for qsort: the sorts below must order exactly as its own
// qsort calls do, ties included.
struct Frag {
    const Line *line;
    int start, len;
    double xMin, xMax, yMin, yMax, base;
    int col;

    int Columns() const { return line->col[start + len] - line->col[start]; }
};

int Sign(double cmp) {
    return cmp < 0 ? -1 : cmp > 0 ? 1 : 0;
}

const Frag &F(const void *p) {
    return *static_cast<const Frag *>(p);
}

int CmpYXPrimaryRot(const void *p1, const void *p2) {
    const Frag &a = F(p1), &b = F(p2);
    double cmp = 0;
    switch (a.line->primaryRot) {
    case 0:
        if (std::fabs(cmp = a.yMin - b.yMin) < 0.01)
            cmp = a.xMin - b.xMin;
        break;
    case 1:
        if (std::fabs(cmp = b.xMax - a.xMax) < 0.01)
            cmp = a.yMin - b.yMin;
        break;
    case 2:
        if (std::fabs(cmp = b.yMin - a.yMin) < 0.01)
            cmp = b.xMax - a.xMax;
        break;
    case 3:
        if (std::fabs(cmp = a.xMax - b.xMax) < 0.01)
            cmp = b.yMax - a.yMax;
        break;
    }
    return Sign(cmp);
}

int CmpYXLineRot(const void *p1, const void *p2) {
    const Frag &a = F(p1), &b = F(p2);
    double cmp = 0;
    switch (a.line->rot) {
    case 0:
        if ((cmp = a.yMin - b.yMin) == 0)
            cmp = a.xMin - b.xMin;
        break;
    case 1:
        if ((cmp = b.xMax - a.xMax) == 0)
            cmp = a.yMin - b.yMin;
        break;
    case 2:
        if ((cmp = b.yMin - a.yMin) == 0)
            cmp = b.xMax - a.xMax;
        break;
    case 3:
        if ((cmp = a.xMax - b.xMax) == 0)
            cmp = b.yMax - a.yMax;
        break;
    }
    return Sign(cmp);
}

int CmpXYLineRot(const void *p1, const void *p2) {
    const Frag &a = F(p1), &b = F(p2);
    double cmp = 0;
    switch (a.line->rot) {
    case 0:
        if ((cmp = a.xMin - b.xMin) == 0)
            cmp = a.yMin - b.yMin;
        break;
    case 1:
        if ((cmp = a.yMin - b.yMin) == 0)
            cmp = b.xMax - a.xMax;
        break;
    case 2:
        if ((cmp = b.xMax - a.xMax) == 0)
            cmp = b.yMin - a.yMin;
        break;
    case 3:
        if ((cmp = b.yMax - a.yMax) == 0)
            cmp = a.xMax - b.xMax;
        break;
    }
    return Sign(cmp);
}

// Fragments whose columns overlap go top to bottom, the others by starting column.
int CmpXYColumn(const Frag &a, const Frag &b, int rot) {
    if (a.col < b.col + b.Columns() && b.col < a.col + a.Columns()) {
        const double cmp = rot == 0   ? a.yMin - b.yMin
                           : rot == 1 ? b.xMax - a.xMax
                           : rot == 2 ? b.yMin - a.yMin
                                      : a.xMax - b.xMax;
        return Sign(cmp);
    }
    return a.col - b.col;
}

int CmpXYColumnLineRot(const void *p1, const void *p2) {
    return CmpXYColumn(F(p1), F(p2), F(p1).line->rot);
}

int CmpXYColumnPrimaryRot(const void *p1, const void *p2) {
    return CmpXYColumn(F(p1), F(p2), F(p1).line->primaryRot);
}

// The character range of a line whose centres lie inside the rectangle, or false.
bool SelectRange(const Line &l, double xMin, double yMin, double xMax, double yMax, int *first,
                 int *last) {
    const bool horizontal = l.rot == 0 || l.rot == 2;
    const double across = horizontal ? 0.5 * (l.yMin + l.yMax) : 0.5 * (l.xMin + l.xMax);
    const double lo = horizontal ? xMin : yMin, hi = horizontal ? xMax : yMax;
    if (!(horizontal ? yMin < across && across < yMax : xMin < across && across < xMax))
        return false;
    const bool forward = l.rot == 0 || l.rot == 1;
    const int n = static_cast<int>(l.text.size());
    auto centre = [&](int j) { return 0.5 * (l.edge[j] + l.edge[j + 1]); };
    *first = *last = -1;
    for (int j = 0; j < n && *first < 0; ++j) {
        if (forward ? centre(j) > lo : centre(j) < hi)
            *first = j;
    }
    for (int j = n - 1; j >= 0 && *last < 0; --j) {
        if (forward ? centre(j) < hi : centre(j) > lo)
            *last = j;
    }
    return *first >= 0 && *last >= 0;
}

void ComputeCoords(Frag &f, bool oneRot) {
    const Line &l = *f.line;
    const double e0 = l.edge[f.start], e1 = l.edge[f.start + f.len];
    if (oneRot || (l.rot == 0 && l.primaryRot == 0)) {
        switch (l.rot) {
        case 0:
            f.xMin = e0, f.xMax = e1, f.yMin = l.yMin, f.yMax = l.yMax;
            break;
        case 1:
            f.xMin = l.xMin, f.xMax = l.xMax, f.yMin = e0, f.yMax = e1;
            break;
        case 2:
            f.xMin = e1, f.xMax = e0, f.yMin = l.yMin, f.yMax = l.yMax;
            break;
        case 3:
            f.xMin = l.xMin, f.xMax = l.xMax, f.yMin = e1, f.yMax = e0;
            break;
        }
        f.base = l.base;
        return;
    }
    // Mixed rotations: the fragment is carried into the primary rotation through its block.
    const double bx0 = l.blkXMin, bx1 = l.blkXMax, by0 = l.blkYMin, by1 = l.blkYMax;
    const double bw = bx1 - bx0, bh = by1 - by0;
    double d0 = e0, d1 = e1, d2 = 0, d3 = 0, d4 = 0;
    switch (l.rot) {
    case 0:
        d0 = (d0 - bx0) / bw, d1 = (d1 - bx0) / bw;
        d2 = (l.yMin - by0) / bh, d3 = (l.yMax - by0) / bh, d4 = (l.base - by0) / bh;
        break;
    case 1:
        d0 = (d0 - by0) / bh, d1 = (d1 - by0) / bh;
        d2 = (bx1 - l.xMax) / bw, d3 = (bx1 - l.xMin) / bw, d4 = (bx1 - l.base) / bw;
        break;
    case 2:
        d0 = (bx1 - d0) / bw, d1 = (bx1 - d1) / bw;
        d2 = (by1 - l.yMax) / bh, d3 = (by1 - l.yMin) / bh, d4 = (by1 - l.base) / bh;
        break;
    case 3:
        d0 = (by1 - d0) / bh, d1 = (by1 - d1) / bh;
        d2 = (l.xMin - bx0) / bw, d3 = (l.xMax - bx0) / bw, d4 = (l.base - bx0) / bw;
        break;
    }
    switch (l.primaryRot) {
    case 0:
        f.xMin = bx0 + d0 * bw, f.xMax = bx0 + d1 * bw;
        f.yMin = by0 + d2 * bh, f.yMax = by0 + d3 * bh, f.base = by0 + d4 * bh;
        break;
    case 1:
        f.xMin = bx1 - d3 * bw, f.xMax = bx1 - d2 * bw;
        f.yMin = by0 + d0 * bh, f.yMax = by0 + d1 * bh, f.base = bx1 - d4 * bw;
        break;
    case 2:
        f.xMin = bx1 - d1 * bw, f.xMax = bx1 - d0 * bw;
        f.yMin = by1 - d3 * bh, f.yMax = by1 - d2 * bh, f.base = by1 - d4 * bh;
        break;
    case 3:
        f.xMin = bx0 + d2 * bw, f.xMax = bx0 + d3 * bw;
        f.yMin = by1 - d1 * bh, f.yMax = by1 - d0 * bh, f.base = bx0 + d4 * bw;
        break;
    }
}

// The column where f0 may start after f1, when f1 lies before it.
int ColumnAfter(const Frag &f0, const Frag &f1, int rot) {
    const Line &l = *f1.line;
    const bool clear = rot == 0   ? f0.xMin >= f1.xMax
                       : rot == 1 ? f0.yMin >= f1.yMax
                       : rot == 2 ? f0.xMax <= f1.xMin
                                  : f0.yMax <= f1.yMin;
    if (clear)
        return f1.col + f1.Columns() + 1;
    const double at = rot == 0 ? f0.xMin : rot == 1 ? f0.yMin : rot == 2 ? f0.xMax : f0.yMax;
    const bool forward = rot == 0 || rot == 1;
    int k = f1.start;
    for (; k < f1.start + f1.len; ++k) {
        const double centre = 0.5 * (l.edge[k] + l.edge[k + 1]);
        if (forward ? !(at >= centre) : !(at <= centre))
            break;
    }
    return f1.col + l.col[k] - l.col[f1.start];
}

void AssignColumns(std::vector<Frag> &frags, bool oneRot) {
    if (!oneRot) {
        // Without the text page's own block columns, the fragments keep their line columns,
        // shifted to start at 0; only where line breaks fall between rotations can differ.
        int minCol = frags[0].col;
        for (const Frag &f : frags)
            minCol = std::min(minCol, f.col);
        for (Frag &f : frags)
            f.col -= minCol;
        return;
    }
    std::qsort(frags.data(), frags.size(), sizeof(Frag), CmpXYLineRot);
    const int rot = frags[0].line->rot;
    for (std::size_t i = 0; i < frags.size(); ++i) {
        int col = 0;
        for (std::size_t j = 0; j < i; ++j)
            col = std::max(col, ColumnAfter(frags[i], frags[j], rot));
        frags[i].col = col;
    }
}

void SortReadingOrder(std::vector<Frag> &frags, bool oneRot) {
    std::qsort(frags.data(), frags.size(), sizeof(Frag), oneRot ? CmpYXLineRot : CmpYXPrimaryRot);
    for (std::size_t i = 0; i < frags.size();) {
        const double delta = kMaxIntraLineDelta * frags[i].line->fontSize;
        std::size_t j = i + 1;
        while (j < frags.size() && std::fabs(frags[j].base - frags[i].base) < delta)
            ++j;
        std::qsort(frags.data() + i, j - i, sizeof(Frag),
                   oneRot ? CmpXYColumnLineRot : CmpXYColumnPrimaryRot);
        i = j;
    }
}

Line ReadLine(const TextLine &line, const UnicodeMap &uMap) {
    Line l;
    const TextWord *first = line.getWords();
    l.rot = first->getRotation();
    l.base = first->getBaseline();
    l.fontSize = first->getFontSize();
    for (const TextWord *w = first; w; w = w->getNext()) {
        double x0, y0, x1, y1;
        w->getBBox(&x0, &y0, &x1, &y1);
        if (l.xMin > l.xMax) {
            l.xMin = x0, l.yMin = y0, l.xMax = x1, l.yMax = y1;
        } else {
            l.xMin = std::min(l.xMin, x0), l.yMin = std::min(l.yMin, y0);
            l.xMax = std::max(l.xMax, x1), l.yMax = std::max(l.yMax, y1);
        }
    }
    CPageText::AddWords(l, first);
    char buf[8];
    int col = 0;
    for (Unicode u : l.text) {
        l.col.push_back(col);
        col += uMap.isUnicode() ? 1 : uMap.mapUnicode(u, buf, sizeof(buf));
    }
    l.col.push_back(col);
    return l;
}

} // namespace

CPageText::CPageText(const TextOutputDev &dev, const UnicodeMap &uMap) {
    std::array<long, kRotations> chars{};
    for (const TextFlow *flow = dev.getFlows(); flow; flow = flow->getNext()) {
        for (const TextBlock *blk = flow->getBlocks(); blk; blk = blk->getNext()) {
            double x0, y0, x1, y1;
            blk->getBBox(&x0, &y0, &x1, &y1);
            for (const TextLine *line = blk->getLines(); line; line = line->getNext()) {
                if (!line->getWords())
                    continue;
                Line l = ReadLine(*line, uMap);
                l.blkXMin = x0, l.blkYMin = y0, l.blkXMax = x1, l.blkYMax = y1;
                chars[l.rot & 3] += static_cast<long>(l.text.size());
                m_Lines.push_back(std::move(l));
            }
        }
    }
    // The rotation with the most characters; ties go to the lower one.
    int primaryRot = 0;
    for (int rot = 1; rot < kRotations; ++rot) {
        if (chars[rot] > chars[primaryRot])
            primaryRot = rot;
    }
    for (Line &l : m_Lines)
        l.primaryRot = primaryRot;
}

CPageText::Selection CPageText::Select(double xMin, double yMin, double xMax, double yMax) const {
    std::vector<Frag> frags;
    bool oneRot = true;
    for (const Line &l : m_Lines) {
        if (!(xMin < l.blkXMax && l.blkXMin < xMax && yMin < l.blkYMax && l.blkYMin < yMax))
            continue;
        if (!(xMin < l.xMax && l.xMin < xMax && yMin < l.yMax && l.yMin < yMax))
            continue;
        int first, last;
        if (!SelectRange(l, xMin, yMin, xMax, yMax, &first, &last))
            continue;
        if (!frags.empty() && frags.back().line->rot != l.rot)
            oneRot = false;
        frags.push_back(Frag{&l, first, last - first + 1, 0, 0, 0, 0, 0, l.col[first]});
    }
    Selection out;
    if (frags.empty())
        return out;
    for (Frag &f : frags)
        ComputeCoords(f, oneRot);
    AssignColumns(frags, oneRot);
    SortReadingOrder(frags, oneRot);
    int col = 0;
    for (std::size_t i = 0; i < frags.size(); ++i) {
        const Frag &f = frags[i];
        const bool newLine =
            f.col < col || (i > 0 && std::fabs(f.base - frags[i - 1].base) >
                                         kMaxIntraLineDelta * frags[i - 1].line->fontSize);
        if (newLine) {
            col = 0;
            out.bMultiLine = true;
        }
        const int align = std::max(f.col - col, 0);
        col += align + f.Columns();
        out.pieces.push_back({f.line->text.data() + f.start, f.len, newLine, align});
    }
    return out;
}

namespace {

constexpr char16_t kCr = 13, kLf = 10;

// Writes units at *length when they all fit before the terminating 0.
bool Put(char16_t *buffer, int *length, int capacity, std::initializer_list<char16_t> units) {
    if (*length + static_cast<int>(units.size()) > capacity - 1)
        return false;
    for (char16_t u : units)
        buffer[(*length)++] = u;
    return true;
}

bool PutChar(char16_t *buffer, int *length, int capacity, Unicode u) {
    if (u < 0x10000)
        return Put(buffer, length, capacity, {static_cast<char16_t>(u)});
    if (u > 0x10FFFF)
        return Put(buffer, length, capacity, {static_cast<char16_t>(0xFFFD)});
    u -= 0x10000;
    return Put(
        buffer, length, capacity,
        {static_cast<char16_t>(0xD800 + (u >> 10)), static_cast<char16_t>(0xDC00 + (u & 0x3FF))});
}

bool PutPiece(char16_t *buffer, int *length, int capacity, const CPageText::Piece &p) {
    if (p.bNewLine && !Put(buffer, length, capacity, {kCr, kLf}))
        return false;
    for (int i = 0; i < p.len; ++i) {
        if (!PutChar(buffer, length, capacity, p.text[i]))
            return false;
    }
    return true;
}

} // namespace

void AppendUtf16(const CPageText::Selection &text, char16_t *buffer, int *length, int capacity) {
    if (!buffer || !length || *length < 0 || *length >= capacity)
        return;
    bool complete = true;
    for (const CPageText::Piece &p : text.pieces) {
        if (!(complete = PutPiece(buffer, length, capacity, p)))
            break;
    }
    if (complete && text.bMultiLine)
        Put(buffer, length, capacity, {kCr, kLf});
    buffer[*length] = 0;
}
