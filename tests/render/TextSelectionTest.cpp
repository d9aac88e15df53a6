// The text fragments we build from Poppler's words and lines must be exactly those of
// Poppler's own TextPage::getText: rendered back into its 8-bit form, with the aligning
// spaces and line ends it adds, they must give the very same string. Checked on every page of
// the fixtures and the first pages of every corpus file, for the whole page and its parts.

#include "engine/TextSelection.h"
#include "engine-ext/EngineConfiguration.h"
#include "engine-ext/ResourcePath.h"
#include "engine/PageDisplay.h"
#include "tests/support/CorpusCases.h"
#include "tests/support/TestPaths.h"

#include <GlobalParams.h>
#include <PDFDoc.h>
#include <TextOutputDev.h>
#include <UnicodeMap.h>
#include <goo/GooString.h>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using testsupport::Fixture;

namespace {

constexpr int kPagesPerFile = 3;

std::vector<testsupport::CorpusCase> AllFiles() {
    std::vector<testsupport::CorpusCase> files;
    for (const char *f : {"text", "cjk", "sizes", "outline"})
        files.push_back({f, Fixture(std::string(f) + ".pdf"), std::nullopt, std::nullopt});
    files.push_back({"sample", testsupport::SourceDir() + "/res/sample/sample.pdf", std::nullopt,
                     std::nullopt});
    for (const auto &c : testsupport::PasswordCorpusCases())
        files.push_back(c);
    return files;
}

// The 8-bit string TextPage::getText makes of the same fragments.
std::string EightBitForm(const CPageText::Selection &s, const UnicodeMap &uMap) {
    std::string out;
    char buf[8];
    for (const CPageText::Piece &p : s.pieces) {
        if (p.bNewLine)
            out += '\n';
        out.append(p.alignSpaces, ' ');
        for (int i = 0; i < p.len; ++i)
            out.append(buf, uMap.mapUnicode(p.text[i], buf, sizeof(buf)));
    }
    if (s.bMultiLine)
        out += '\n';
    return out;
}

bool HasRightToLeftMarks(const std::string &s) {
    return s.find("\xE2\x80\xAB") != std::string::npos; // Poppler reorders such text
}

} // namespace

TEST(TextSelection, SameFragmentsAsPopplersGetText) {
    engine_ext::SetResourceBasePath(testsupport::ResourceDir());
    engine_ext::RetainEngineConfiguration();
    engine_ext::BuildEngineConfiguration();
    int compared = 0, multiLine = 0;
    {
        engine_ext::CConfigurationUse use(true);
        const UnicodeMap &uMap = *globalParams->getTextEncoding();
        for (const testsupport::CorpusCase &c : AllFiles()) {
            std::optional<GooString> pw;
            if (c.password)
                pw.emplace(*c.password);
            PDFDoc doc(std::make_unique<GooString>(c.path), pw, pw);
            if (!doc.isOk())
                continue;
            for (int p = 1; p <= std::min(doc.getNumPages(), kPagesPerFile); ++p) {
                // A page Poppler cannot build is never drawn, and its getText would then read
                // a text page that was never set up.
                if (!doc.getPage(p))
                    continue;
                TextOutputDev dev(static_cast<TextOutputFunc>(nullptr), nullptr, true, 0, false);
                DisplayPage(doc, dev, p, 72, 0);
                const CPageText text(dev, uMap);
                const double w = doc.getPageCropWidth(p), h = doc.getPageCropHeight(p);
                const double side = std::max(w, h);
                const double rects[][4] = {{-1e5, -1e5, 1e5, 1e5},
                                           {0, 0, side / 2, side},
                                           {side / 2, 0, side, side},
                                           {0, side / 4, side, side / 2},
                                           {side / 3, side / 3, 2 * side / 3, 2 * side / 3}};
                for (const auto &r : rects) {
                    std::unique_ptr<GooString> want(dev.getText(r[0], r[1], r[2], r[3]));
                    if (HasRightToLeftMarks(want->toStr()))
                        continue;
                    const CPageText::Selection got = text.Select(r[0], r[1], r[2], r[3]);
                    EXPECT_EQ(EightBitForm(got, uMap), want->toStr())
                        << c.path << " page " << p << " rect " << r[0] << "," << r[1] << "," << r[2]
                        << "," << r[3];
                    ++compared;
                    multiLine += got.bMultiLine;
                }
            }
        }
    }
    engine_ext::ReleaseEngineConfiguration();
    std::printf("selections compared: %d, of them multi-line: %d\n", compared, multiLine);
    EXPECT_GT(compared, 300);
    EXPECT_GT(multiLine, 100);
}

namespace {

// A word as Poppler's TextWord answers: characters, one edge more, a space after or not.
struct FakeWord {
    std::vector<Unicode> chars;
    std::vector<double> edges;
    bool bSpaceAfter = false;
    const FakeWord *pNext = nullptr;

    int getLength() const { return static_cast<int>(chars.size()); }
    const Unicode *getChar(int i) const { return &chars.at(static_cast<std::size_t>(i)); }
    double getEdge(int i) const { return edges.at(static_cast<std::size_t>(i)); }
    bool hasSpaceAfter() const { return bSpaceAfter; }
    const FakeWord *getNext() const { return pNext; }
};

} // namespace

// Every character of a line, a trailing space too, has an edge on either side.
TEST(TextSelection, LineEdgesAlwaysOutnumberCharacters) {
    struct Case {
        const char *name;
        bool bSpaceAfterFirst, bSpaceAfterLast;
        std::vector<Unicode> text;
        std::vector<double> edges;
    };
    const Case cases[] = {
        {"no spaces", false, false, {'a', 'b', 'c'}, {0, 1, 5, 6}},
        {"a space between", true, false, {'a', 'b', ' ', 'c'}, {0, 1, 2, 5, 6}},
        {"a space after the last word", true, true, {'a', 'b', ' ', 'c', ' '}, {0, 1, 2, 5, 6, 6}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const FakeWord second{{'c'}, {5, 6}, c.bSpaceAfterLast};
        const FakeWord first{{'a', 'b'}, {0, 1, 2}, c.bSpaceAfterFirst, &second};
        CPageText::Line line;
        CPageText::AddWords(line, &first);
        EXPECT_EQ(line.text, c.text);
        EXPECT_EQ(line.edge, c.edges);
    }
}
