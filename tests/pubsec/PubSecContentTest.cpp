// What the engine's open does not show: the decrypted document carries the original's page
// contents, metadata and document information, and it keeps the encrypted file's name, which
// saving a copy relies on.

#include "engine-ext/EngineConfiguration.h"
#include "engine-ext/PubSecLoader.h"
#include "tests/pubsec/PubSecHome.h"

#include <PDFDoc.h>
#include <TextOutputDev.h>
#include <goo/GooString.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>

using testsupport::CorpusDir;
using testsupport::CPubSecHome;
using testsupport::PubSecFixture;

namespace {

// Opens as the engine does: Poppler first, then our handler for what it refuses.
std::unique_ptr<PDFDoc> OpenDocument(const std::string &path) {
    auto doc = std::make_unique<PDFDoc>(std::make_unique<GooString>(path));
    if (const auto parameters = engine_ext::ReadCertificateParameters(*doc)) {
        const engine_ext::CertificateKey found = engine_ext::FindCertificateKey(*parameters);
        doc = engine_ext::OpenCertificateEncrypted(path, *parameters, found.key).pDoc;
    }
    return doc;
}

std::string PageText(PDFDoc &doc, int page) {
    if (page < 1 || page > doc.getNumPages())
        return "(no such page)";
    TextOutputDev text(nullptr, true, 0, false, false);
    doc.displayPage(&text, page, 72, 72, 0, true, false, false);
    const std::unique_ptr<GooString> words(text.getText(-1e5, -1e5, 1e5, 1e5));
    return words ? words->toStr() : "";
}

std::string Text(std::unique_ptr<GooString> text) {
    return text ? text->toStr() : "(none)";
}

// Everything compared between a decrypted copy and its original.
struct Content {
    std::vector<std::string> pages;
    std::string metadata;
    std::string title;
    std::string subject;
    bool operator==(const Content &) const = default;
};

Content ContentOf(PDFDoc &doc) {
    Content content;
    for (int page = 1; page <= doc.getNumPages(); ++page)
        content.pages.push_back(PageText(doc, page));
    content.metadata = Text(doc.readMetadata());
    content.title = Text(doc.getDocInfoTitle());
    content.subject = Text(doc.getDocInfoSubject());
    return content;
}

class PubSecContent : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_Home.IsReady()); }

    CPubSecHome m_Home{CPubSecHome::AliceAndCorpus()};
    engine_ext::CConfigurationUse m_Configuration{true};
};

} // namespace

TEST_F(PubSecContent, DecryptedCopiesCarryTheOriginalsContent) {
    const std::unique_ptr<PDFDoc> plain = OpenDocument(PubSecFixture("plain.pdf"));
    ASSERT_TRUE(plain->isOk());
    const Content original = ContentOf(*plain);
    ASSERT_EQ(original.pages.size(), 6u);
    ASSERT_NE(original.pages[0].find("Page 1"), std::string::npos);
    ASSERT_NE(original.metadata.find("PubSec fixture"), std::string::npos);

    for (const std::string &name : testsupport::FixturesForAlice()) {
        const std::string path = PubSecFixture(name);
        const std::unique_ptr<PDFDoc> doc = OpenDocument(path);
        ASSERT_TRUE(doc->isOk()) << name;
        EXPECT_EQ(ContentOf(*doc), original) << name;
        ASSERT_TRUE(doc->getFileName()) << name;
        EXPECT_EQ(doc->getFileName()->toStr(), path) << name;
    }
}

// A trailer may claim far more objects than the file holds. The copy lists the objects it
// holds, so neither it nor Poppler's reading of it costs memory for the numbers claimed.
TEST_F(PubSecContent, ACopyListsOnlyTheObjectsTheFileHolds) {
    std::ifstream in(PubSecFixture("v4-aes.pdf"), std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), {}};
    const std::string::size_type size = bytes.rfind("/Size 34 ");
    ASSERT_NE(size, std::string::npos);
    bytes.replace(size, 9, "/Size 4000000 ");
    const testsupport::CTempDir dir;
    std::ofstream(dir / "claims.pdf", std::ios::binary) << bytes;

    const std::unique_ptr<PDFDoc> doc = OpenDocument(dir / "claims.pdf");
    ASSERT_TRUE(doc->isOk());
    EXPECT_EQ(ContentOf(*doc), ContentOf(*OpenDocument(PubSecFixture("plain.pdf"))));
    // Numbers 0 to 32: the file's last object, 33, is its encryption dictionary, left out.
    EXPECT_EQ(doc->getXRef()->getNumObjects(), 33);
}

TEST_F(PubSecContent, RealWorldFilesDecryptToReadableText) {
    if (CorpusDir().empty())
        GTEST_SKIP() << "no corpus";
    // Each file's single page names its key length.
    const struct {
        const char *name;
        const char *text;
    } files[] = {
        {"pdfbox-AESkeylength128.pdf", "Key length: 128"},
        {"pdfbox-AESkeylength256.pdf", "Key length: 256"},
        {"pdfbox-AES128ExposedMeta.pdf", "AES key length: 128"},
        {"pdfbox-AES256ExposedMeta.pdf", "AES key length: 256"},
    };
    for (const auto &file : files) {
        const std::unique_ptr<PDFDoc> doc = OpenDocument(CorpusDir() + "/" + file.name);
        ASSERT_TRUE(doc->isOk()) << file.name;
        EXPECT_EQ(PageText(*doc, 1).rfind(file.text, 0), 0u) << file.name;
        // Wrongly decrypted metadata is noise, never an XMP packet.
        EXPECT_NE(Text(doc->readMetadata()).find("<x:xmpmeta"), std::string::npos) << file.name;
    }
}

// Every recipient block but the last is for alice with its encrypted key spoilt: each costs her
// database a private-key operation and opens nothing. Only so many are handed to it.
TEST_F(PubSecContent, RecipientBlocksTriedStopAtTheLimit) {
    const struct {
        const char *name;
        std::size_t nRecipients;
        bool bOpens;
    } cases[] = {
        {"flood-255.pdf", engine_ext::kMaxRecipientsTried, true},
        {"flood-4096.pdf", 4097, false},
    };
    for (const auto &c : cases) {
        PDFDoc doc(std::make_unique<GooString>(PubSecFixture(c.name)));
        const auto parameters = engine_ext::ReadCertificateParameters(doc);
        ASSERT_TRUE(parameters) << c.name;
        ASSERT_EQ(parameters->recipients.size(), c.nRecipients) << c.name;
        const engine_ext::CertificateKey found = engine_ext::FindCertificateKey(*parameters);
        EXPECT_EQ(found.nBlocksTried, engine_ext::kMaxRecipientsTried) << c.name;
        EXPECT_EQ(found.key.size(), c.bOpens ? parameters->nKeyLength : 0u) << c.name;
        if (!c.bOpens) {
            EXPECT_NE(found.nError, 0) << c.name;
        }
    }
    const std::unique_ptr<PDFDoc> opened = OpenDocument(PubSecFixture("flood-255.pdf"));
    ASSERT_TRUE(opened->isOk());
    EXPECT_EQ(PageText(*opened, 1), PageText(*OpenDocument(PubSecFixture("plain.pdf")), 1));
}
