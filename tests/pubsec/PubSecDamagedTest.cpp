// Damaged certificate-encrypted documents: spoilt recipient strings, or more of them than are
// tried, are a certificate that does not match (-2 and the error message); a spoilt encryption
// dictionary is a damaged file (-1, nothing shown). Neither crashes, and the engine opens the next
// good document as usual.

#include "tests/pubsec/PubSecHome.h"
#include "tests/support/EngineHandle.h"

#include <gtest/gtest.h>

using testsupport::CEngineHandle;
using testsupport::CPubSecHome;
using testsupport::CRecordingMessageBox;
using testsupport::ErrorCodeOf;
using testsupport::PubSecFixture;

TEST(PubSecDamaged, SpoiltFilesFailCleanly) {
    CPubSecHome home({CPubSecHome::Alice()});
    ASSERT_TRUE(home.IsReady());
    const struct {
        const char *name;
        int nResult;
    } cases[] = {
        {"damaged-truncated.pdf", -2},
        {"damaged-garbage.pdf", -2},
        {"damaged-empty.pdf", -2},
        {"damaged-signed.pdf", -2},
        {"damaged-oversize.pdf", -2},
        {"flood-4096.pdf", -2}, // alice's own block comes after too many spoilt ones
        {"broken-no-crypt-filter.pdf", -1},
        {"broken-unknown-method.pdf", -1},
        {"broken-long-key.pdf", -1},
        {"broken-recipients-not-array.pdf", -1},
    };
    CEngineHandle engine;
    for (const auto &c : cases) {
        CRecordingMessageBox messages;
        EXPECT_EQ(engine.Open(PubSecFixture(c.name)), c.nResult) << c.name;
        EXPECT_EQ(PdfIsOpen(engine), 0) << c.name;
        if (c.nResult == -2) {
            ASSERT_EQ(messages.m_Messages.size(), 1u) << c.name;
            EXPECT_TRUE(ErrorCodeOf(messages.m_Messages[0])) << c.name;
        } else {
            EXPECT_TRUE(messages.m_Messages.empty()) << c.name;
        }
    }
    EXPECT_EQ(engine.Open(PubSecFixture("v4-aes.pdf")), 0);
}
