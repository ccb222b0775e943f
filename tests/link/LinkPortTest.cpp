// Command frames and replies over a real pseudo-terminal.
#include <chrono>

#include "LinkFixture.h"
#include "link/Commands.h"
#include "link/ErrorFlags.h"
#include "link/LinkPort.h"

namespace vantrel::test {
namespace {

using namespace std::chrono_literals;
using link::LinkPort;

using LinkPortTest = LinkFixture;

TEST_F(LinkPortTest, SendsExactFrameAndKeepsReplyBytes) {
    answerEvery({{reply('Y', 0x11, 0x22, 0x33, 0x44)}});
    LinkPort link(context_);
    ASSERT_TRUE(link.sendCommand(link::READ_REGISTER, 72, 0, 0, 0, true));

    const Frame expected = {0x48, 0x48, 0x43, 0x30, 0x32, 0xA0, 0x48, 0x00, 0x00, 0x00, 0x1D};
    ASSERT_EQ(farEnd_.frames().size(), 1u);
    EXPECT_EQ(farEnd_.frames()[0], expected);
    EXPECT_EQ(link.reply(7), 0x11);
    EXPECT_EQ(link.reply(8), 0x22);
    EXPECT_EQ(link.reply(9), 0x33);
    EXPECT_EQ(link.reply(10), 0x44);
    EXPECT_EQ(link.reply(12), 0);
    EXPECT_EQ(context_.errorFlags, 0u);
    EXPECT_TRUE(ui_.shown.empty());
}

TEST_F(LinkPortTest, ManyFramesInARowAllAnswered) {
    farEnd_.serve([](const Frame& f) {
        return std::vector<FarEnd::Step>{{reply('Y', 0, f[5], f[6], f[7])}};
    });
    LinkPort link(context_);
    for (int i = 0; i < 200; ++i) {
        const auto address = static_cast<uint8_t>(i);
        ASSERT_TRUE(link.sendCommand(link::READ_REGISTER, address, 7, 0, 0, false)) << i;
        EXPECT_EQ(link.reply(8), link::READ_REGISTER);
        EXPECT_EQ(link.reply(9), address);
        EXPECT_EQ(link.reply(10), 7);
    }
}

TEST_F(LinkPortTest, WrongReplyChecksumSetsOnlyChecksumFlag) {
    Bytes bad = reply('E');
    bad[11] ^= 0x01;
    answerEvery({{bad}});
    LinkPort link(context_);
    EXPECT_FALSE(link.sendCommand(link::UNLOCK_EEPROM, 0, 0, 0, 0, false));
    EXPECT_EQ(context_.errorFlags, uint32_t{link::kChecksumBad});
    EXPECT_TRUE(ui_.shown.empty()) << "report off: the caller decides";
}

TEST_F(LinkPortTest, StatusByteDecidesFlag) {
    struct Case {
        uint8_t status;
        uint32_t flag;
        const char* text;
    };
    const Case cases[] = {{'E', link::kEepromError, "EEPROM Error"},
                          {'T', link::kOptionCommsError, "Option card comms error"},
                          {'N', link::kResultBad, "Result Not OK"}};
    for (const Case& c : cases) {
        FarEnd farEnd;
        ASSERT_TRUE(farEnd.ok());
        farEnd.serve([&](const Frame&) { return std::vector<FarEnd::Step>{{reply(c.status)}}; });
        context_.portName = farEnd.path();
        context_.errorFlags = 0;
        ui_.clearRecord();
        {
            LinkPort link(context_);
            EXPECT_FALSE(link.sendCommand(link::WRITE_REGISTER, 1, 2, 3, 4, false));
            EXPECT_EQ(context_.errorFlags, c.flag) << c.status;
            // The flag stays and fails the next frame too, whatever it answers.
            EXPECT_FALSE(link.sendCommand(link::READ_STATUS, 0, 0, 0, 0, true));
        }
        ASSERT_EQ(ui_.errors.size(), 1u);
        EXPECT_EQ(ui_.errors[0], c.text);
        ASSERT_FALSE(ui_.sounds.empty());
        EXPECT_EQ(ui_.sounds.back(), ui::Sound::Critical);
        EXPECT_EQ(context_.errorFlags, 0u) << "the report clears the word";
    }
}

TEST_F(LinkPortTest, FlagsClearedByNewLinkPortAndRefusalFailsLaterSends) {
    int count = 0;
    farEnd_.serve(
        [&](const Frame&) { return std::vector<FarEnd::Step>{{reply(++count == 1 ? 'E' : 'Y')}}; });
    {
        LinkPort link(context_);
        EXPECT_FALSE(link.sendCommand(link::WRITE_REGISTER, 0, 0, 0, 0, false));
        EXPECT_FALSE(link.sendCommand(link::READ_STATUS, 0, 0, 0, 0, false))
            << "an unreported refusal fails every later send";
        context_.errorFlags &= ~link::kEepromError;
        EXPECT_TRUE(link.sendCommand(link::READ_STATUS, 0, 0, 0, 0, false));
    }
    context_.errorFlags = link::kEepromError | link::kOptionCommsError | link::kAccessDenied;
    LinkPort link(context_);
    EXPECT_EQ(context_.errorFlags, uint32_t{link::kOptionCommsError | link::kAccessDenied});
    EXPECT_FALSE(link.sendCommand(link::READ_STATUS, 0, 0, 0, 0, false))
        << "a surviving option-card refusal still fails the send";
    context_.errorFlags &= ~link::kOptionCommsError;
    EXPECT_TRUE(link.sendCommand(link::READ_STATUS, 0, 0, 0, 0, false))
        << "access-denied alone does not fail a send";
}

TEST_F(LinkPortTest, SilenceFailsWithinTheReadTimeoutAndNextCommandWorks) {
    int count = 0;
    // The first reply comes too late; it must not be taken for the second one's.
    farEnd_.serve([&](const Frame&) {
        if (++count == 1) return std::vector<FarEnd::Step>{{reply('Y', 1), 1300ms}};
        return std::vector<FarEnd::Step>{{reply('Y', 2)}};
    });
    LinkPort link(context_);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(link.sendCommand(link::READ_VERSION, 0, 0, 0, 0, true));
    const double took = secondsSince(start);
    EXPECT_GT(took, 0.9);
    EXPECT_LT(took, 1.5);
    ASSERT_EQ(ui_.errors.size(), 1u);
    EXPECT_EQ(ui_.errors[0], "Event Not RX");
    EXPECT_TRUE(ui_.messages.empty()) << "no event names for a plain silence";

    std::this_thread::sleep_for(400ms);  // the stale reply arrives meanwhile
    EXPECT_TRUE(link.sendCommand(link::READ_VERSION, 0, 0, 0, 0, true));
    EXPECT_EQ(link.reply(7), 2);
}

TEST_F(LinkPortTest, TrickledReplyIsBoundedAndKeepsOldBytes) {
    Bytes partial = reply('Y');
    partial.resize(6);
    answerEvery({{partial}});
    LinkPort link(context_);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(link.sendCommand(link::READ_REGISTER, 9, 0, 0, 0, false));
    EXPECT_LT(secondsSince(start), 1.5);
    // Bytes 6..11 still hold the frame that was sent.
    EXPECT_EQ(link.reply(6), link::READ_REGISTER);
    EXPECT_EQ(link.reply(7), 9);
    EXPECT_NE(context_.errorFlags & link::kSendFailureFlags, 0u);
}

TEST_F(LinkPortTest, HangUpMidReplyThenNextLinkPortReopens) {
    Bytes partial = reply('Y');
    partial.resize(5);
    answerEvery({{partial, 0ms, true}});
    {
        LinkPort link(context_);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(link.sendCommand(link::READ_STATUS, 116, 0, 0, 0, true));
        EXPECT_LT(secondsSince(start), 1.5);
        ASSERT_EQ(ui_.messages.size(), 1u);
        EXPECT_EQ(ui_.messages[0], "EV_RLSD");
        ASSERT_EQ(ui_.errors.size(), 1u);
        EXPECT_EQ(ui_.errors[0], "Event Not RX");
        // Further frames on the dead line fail without waiting.
        EXPECT_FALSE(link.sendCommand(link::READ_STATUS, 116, 0, 0, 0, false));
    }
    EXPECT_FALSE(context_.port.isOpen());

    FarEnd replugged;
    ASSERT_TRUE(replugged.ok());
    replugged.serve([](const Frame&) { return std::vector<FarEnd::Step>{{reply('Y')}}; });
    context_.portName = replugged.path();
    LinkPort link(context_);
    EXPECT_TRUE(link.sendCommand(link::READ_STATUS, 116, 0, 0, 0, true));
}

TEST_F(LinkPortTest, HungUpHandleIsReplacedByTheNextLinkPort) {
    answerEvery({{{}, 0ms, true}});
    LinkPort outer(context_);
    EXPECT_FALSE(outer.sendCommand(link::READ_STATUS, 0, 0, 0, 0, false));
    EXPECT_TRUE(context_.port.hungUp());

    FarEnd replugged;
    ASSERT_TRUE(replugged.ok());
    replugged.serve([](const Frame&) { return std::vector<FarEnd::Step>{{reply('Y')}}; });
    context_.portName = replugged.path();
    LinkPort inner(context_);
    EXPECT_TRUE(inner.sendCommand(link::READ_STATUS, 0, 0, 0, 0, false));
}

TEST_F(LinkPortTest, NestedLinkPortSharesThePort) {
    answerEvery({{reply('Y')}});
    LinkPort outer(context_);
    ASSERT_TRUE(context_.port.isOpen());
    context_.errorFlags = link::kEepromError;
    {
        LinkPort inner(context_);
        EXPECT_EQ(context_.errorFlags, 0u);
        EXPECT_TRUE(inner.sendCommand(link::READ_STATUS, 0, 0, 0, 0, false));
    }
    EXPECT_FALSE(context_.port.isOpen()) << "destroying either one closes the shared port";
    EXPECT_FALSE(outer.sendCommand(link::READ_STATUS, 0, 0, 0, 0, false));
    EXPECT_EQ(context_.errorFlags, uint32_t{link::kWriteFailed});
}

TEST_F(LinkPortTest, PortThatDoesNotOpen) {
    context_.portName = "/dev/vantrel-no-such-port";
    LinkPort link(context_);
    ASSERT_EQ(ui_.errors.size(), 1u);
    EXPECT_EQ(ui_.errors[0], "Port did not open");
    EXPECT_TRUE(ui_.messages.empty()) << "no line-settings messages for a port that is not open";
    EXPECT_NE(context_.port.errorText().find("no such device"), std::string::npos);

    // One failure, one message: the frames of the operation fail without more dialogs.
    EXPECT_FALSE(link.opened());
    EXPECT_FALSE(link.sendCommand(link::READ_STATUS, 0, 0, 0, 0, true));
    EXPECT_FALSE(link.sendCommand(link::READ_REGISTER, 145, 0, 0, 0, true));
    EXPECT_EQ(ui_.errors.size(), 1u);
    EXPECT_EQ(link.reply(6), link::READ_REGISTER) << "the frame sent stays in the buffer";
    EXPECT_NE(context_.port.errorText().find("no such device"), std::string::npos)
        << "the open failure's sentence survives later calls on the closed port";
}

TEST_F(LinkPortTest, PortHeldByAnotherProgramDoesNotOpen) {
    link::SerialPort other;
    ASSERT_TRUE(other.open(farEnd_.path()));
    LinkPort link(context_);
    ASSERT_EQ(ui_.errors.size(), 1u);
    EXPECT_EQ(ui_.errors[0], "Port did not open");
    EXPECT_EQ(context_.port.error(), link::SerialPort::Error::Busy);
    EXPECT_NE(context_.port.errorText().find("in use by another program"), std::string::npos);
}

}  // namespace
}  // namespace vantrel::test
