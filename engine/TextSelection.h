#pragma once

// Private to engine/: the text of a rectangle of a page, built from the words and lines of
// Poppler's physical-layout text page. The fragments, their reading order and the places where
// a new line starts are exactly those of TextPage::getText; what differs is the output: the
// fragments' own characters, without the spaces that only align them to their columns.

#include <CharTypes.h>

#include <vector>

class TextOutputDev;
class UnicodeMap;

class CPageText {
public:
    // A line as Poppler's text page holds it: the words' characters with one space after every
    // word followed by a gap, each character's near edge, and its output column.
    struct Line {
        int rot = 0;
        int primaryRot = 0;
        double xMin = 0, xMax = -1, yMin = 0, yMax = -1, base = 0, fontSize = 0;
        double blkXMin = 0, blkXMax = 0, blkYMin = 0, blkYMax = 0;
        std::vector<Unicode> text;
        std::vector<double> edge; // one more than text
        std::vector<int> col;     // one more than text
    };

    // One fragment of the output, in reading order.
    struct Piece {
        const Unicode *text;
        int len;
        bool bNewLine;   // a line break comes before it
        int alignSpaces; // the spaces the 8-bit form puts before it
    };

    struct Selection {
        std::vector<Piece> pieces;
        bool bMultiLine = false; // a final line break follows the last piece
    };

    // Reads the text page of a device that has drawn a page; uMap is the configured text
    // encoding, which decides how many columns a character takes.
    CPageText(const TextOutputDev &dev, const UnicodeMap &uMap);

    // Lays a line's words out into its text and edges, as Poppler's TextLine does: a space
    // after every word that has one, starting where the word ends, and one edge more than
    // characters. A space after the line's last word ends where it starts, so the final edge
    // is always there. Word: Poppler's TextWord, or anything that answers as it does.
    template <typename Word> static void AddWords(Line &line, const Word *first);

    // The text whose characters' centres lie in the rectangle (top-down page points). The
    // pieces point into this object.
    Selection Select(double xMin, double yMin, double xMax, double yMax) const;

private:
    std::vector<Line> m_Lines;
};

template <typename Word> void CPageText::AddWords(Line &line, const Word *first) {
    const Word *last = first;
    for (const Word *w = first; w; w = w->getNext()) {
        for (int j = 0; j < w->getLength(); ++j) {
            line.text.push_back(*w->getChar(j));
            line.edge.push_back(w->getEdge(j));
        }
        if (w->hasSpaceAfter()) {
            line.text.push_back(0x20);
            line.edge.push_back(w->getEdge(w->getLength()));
        }
        last = w;
    }
    if (last)
        line.edge.push_back(last->getEdge(last->getLength()));
}

// Appends the selection to a UTF-16 buffer of capacity code units at index *length: the pieces,
// CR LF between lines and after the last when there is more than one. Stops before a unit that
// would not fit with the terminating 0, never splitting a character, and keeps the text
// zero-terminated.
void AppendUtf16(const CPageText::Selection &text, char16_t *buffer, int *length, int capacity);
