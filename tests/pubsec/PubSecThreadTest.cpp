// Two windows open certificate-encrypted documents at the same time: the database is shared
// by the process and each open still gets its own, whole answer.

#include "tests/pubsec/PubSecHome.h"
#include "tests/support/EngineHandle.h"

#include <gtest/gtest.h>

#include <thread>

using testsupport::CEngineHandle;
using testsupport::CPubSecHome;
using testsupport::CRecordingMessageBox;
using testsupport::PubSecFixture;

TEST(PubSecThreads, ConcurrentOpensEachGetTheirAnswer) {
    CPubSecHome home({CPubSecHome::Alice()});
    ASSERT_TRUE(home.IsReady());
    CRecordingMessageBox messages;
    constexpr int kRounds = 5;
    int opened[2] = {0, 0};
    int refused[2] = {0, 0};
    auto open = [&](int who) {
        CEngineHandle engine;
        for (int round = 0; round < kRounds; ++round) {
            opened[who] += engine.Open(PubSecFixture("v5-aes256.pdf")) == 0;
            refused[who] += engine.Open(PubSecFixture("for-bob.pdf")) == -2;
        }
    };
    std::thread first(open, 0);
    std::thread second(open, 1);
    first.join();
    second.join();
    for (int who : {0, 1}) {
        EXPECT_EQ(opened[who], kRounds);
        EXPECT_EQ(refused[who], kRounds);
    }
    EXPECT_EQ(messages.m_Messages.size(), 2u * kRounds);
}
