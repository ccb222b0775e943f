// The link trace: one line per frame sent and per reply or record received, with
// the command's name, the reply's status and checksum, the error flags and the bytes.
#include <atomic>
#include <fstream>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "LinkFixture.h"
#include "link/Commands.h"
#include "link/LinkPort.h"
#include "link/LinkTrace.h"

namespace vantrel::test {
namespace {

using link::LinkPort;

class LinkTraceTest : public LinkFixture {
protected:
    void SetUp() override {
        LinkFixture::SetUp();
        tracePath_ = settingsPath_.string() + ".trace";
        ASSERT_TRUE(trace_.open(tracePath_)) << trace_.errorText();
        context_.trace = &trace_;
    }
    void TearDown() override { std::filesystem::remove(tracePath_); }

    std::vector<std::string> lines() const {
        std::ifstream in(tracePath_);
        std::vector<std::string> all;
        for (std::string line; std::getline(in, line);)
            all.push_back(line);
        return all;
    }

    std::string tracePath_;
    link::LinkTrace trace_;
};

std::string hex(const Bytes& bytes) {
    std::string text;
    char digits[4];
    for (uint8_t b : bytes) {
        std::snprintf(digits, sizeof digits, " %02X", b);
        text += digits;
    }
    return text;
}

// Time in microseconds, direction, then the rest as given.
void expectLine(const std::string& line, const std::string& rest) {
    EXPECT_TRUE(std::regex_match(line, std::regex("[0-9]+ (.*)")));
    EXPECT_EQ(line.substr(line.find(' ') + 1), rest);
}

TEST_F(LinkTraceTest, EachExchangeIsTheFrameLineThenTheReplyLine) {
    Bytes badSum = reply('Y', 0, 1, 2, 3);
    badSum[11] ^= 0xFF;
    const Bytes partial = {0x00, 0x01, 0x02};
    struct Row {
        std::vector<FarEnd::Step> answer;
        std::string replyLine;
    };
    const std::vector<Row> rows = {
        {{{reply('Y', 0, 1, 2, 3)}},
         "< READ_REGISTER status=Y sum=ok flags=0000" + hex(reply('Y', 0, 1, 2, 3))},
        {{{reply('E')}}, "< READ_REGISTER status=E sum=ok flags=0200" + hex(reply('E'))},
        {{{reply('T')}}, "< READ_REGISTER status=T sum=ok flags=0400" + hex(reply('T'))},
        {{{badSum}}, "< READ_REGISTER status=Y sum=bad flags=0002" + hex(badSum)},
        {{}, "< READ_REGISTER no-reply flags=0008"},
        {{{partial}}, "< READ_REGISTER short flags=0002" + hex(partial)},
    };
    // The far end serves once; each row's answer is picked as its frame arrives.
    std::atomic<size_t> current{0};
    farEnd_.serve([&](const Frame&) { return rows[current].answer; });
    for (const Row& row : rows) {
        SCOPED_TRACE(row.replyLine);
        ASSERT_TRUE(trace_.open(tracePath_));
        context_.errorFlags = 0;
        {
            LinkPort link(context_);
            link.sendCommand(link::READ_REGISTER, 0x48, 0, 0, 0, false);
        }
        const std::vector<std::string> all = lines();
        ASSERT_EQ(all.size(), 2u);
        expectLine(all[0], "> READ_REGISTER flags=0000 48 48 43 30 32 A0 48 00 00 00 1D");
        expectLine(all[1], row.replyLine);
        ++current;
    }
}

TEST_F(LinkTraceTest, RecordsAreOneLineEachWithNumberAndCrc) {
    Bytes bad = record('E', 1, 0x20);
    bad[40] ^= 0x01;
    answerEvery({{reply('Y')}, {record('E', 0, 0x10)}, {bad}});
    LinkPort link(context_);
    ASSERT_TRUE(link.sendCommand(link::REQUEST_CONFIG_BLOCKS, 0, 0, 0, 0, false));
    std::array<uint8_t, 128> data{};
    EXPECT_TRUE(link.receiveBlock(data.data(), 'E'));
    EXPECT_FALSE(link.receiveBlock(data.data(), 'E'));
    EXPECT_FALSE(link.receiveBlock(data.data(), 'E')) << "nothing more comes";

    const std::vector<std::string> all = lines();
    ASSERT_EQ(all.size(), 4u) << "a record that never began has no line";
    EXPECT_NE(all[0].find(" > REQUEST_CONFIG_BLOCKS "), std::string::npos) << all[0];
    EXPECT_NE(all[1].find(" < REQUEST_CONFIG_BLOCKS status=Y "), std::string::npos) << all[1];
    expectLine(all[2], "< record number=0 crc=ok flags=0000" + hex(record('E', 0, 0x10)));
    expectLine(all[3], "< record number=1 crc=bad flags=0020" + hex(bad));
}

TEST_F(LinkTraceTest, BurstAndBackToBackRecordsAreTracedOneRecordALine) {
    Bytes burst;
    for (uint8_t n = 0; n < 4; ++n) {
        const Bytes one = record('E', n, static_cast<uint8_t>(n * 16));
        burst.insert(burst.end(), one.begin(), one.end());
    }
    const Bytes whole = record('B', 9, 0);
    const Bytes cut(whole.begin(), whole.begin() + 50);
    answerEvery({{reply('Y')}, {burst}, {record('B', 8, 1)}, {cut}});
    LinkPort link(context_);
    ASSERT_TRUE(link.sendCommand(link::REQUEST_CONFIG_BLOCKS, 0, 0, 0, 0, false));
    std::array<uint8_t, link::kBurstBytes> buffer{};
    ASSERT_TRUE(link.receiveBurst(buffer.data()));
    EXPECT_TRUE(link.receiveRecords(buffer, 2));

    const std::vector<std::string> all = lines();
    ASSERT_EQ(all.size(), 2u + 4u + 2u);
    for (int n = 0; n < 4; ++n)
        EXPECT_NE(all[2 + n].find(" < record number=" + std::to_string(n) + " crc=ok "),
                  std::string::npos)
            << all[2 + n];
    EXPECT_NE(all[6].find(" < record number=8 crc=ok "), std::string::npos) << all[6];
    expectLine(all[7], "< record short flags=0000" + hex(cut));
}

TEST_F(LinkTraceTest, TimesAreMicrosecondsThatNeverGoBackAndUnknownCodesAreNamedByValue) {
    answerEvery({{reply('Y')}});
    LinkPort link(context_);
    for (uint8_t command : {uint8_t{0x01}, uint8_t{0xF0}, uint8_t{0xC0}})
        link.sendCommand(command, 0, 0, 0, 0, false);
    const std::vector<std::string> all = lines();
    ASSERT_EQ(all.size(), 6u);
    long long last = 0;
    for (const std::string& line : all) {
        const long long time = std::stoll(line);
        EXPECT_GE(time, last);
        last = time;
    }
    EXPECT_NE(all[0].find(" > READ_STATUS "), std::string::npos);
    EXPECT_NE(all[2].find(" > UNKNOWN_F0 "), std::string::npos);
    EXPECT_NE(all[5].find(" < WRITE_REGISTER_BYTE "), std::string::npos);
    // Two frames 10 ms or more apart differ by at least 10000 in the time column.
    const long long before = std::stoll(all.back());
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    link.sendCommand(link::READ_STATUS, 0, 0, 0, 0, false);
    EXPECT_GE(std::stoll(lines()[6]) - before, 10000);
}

TEST(LinkTraceFile, AnUnwritableFileIsRefusedWithItsReason) {
    link::LinkTrace trace;
    EXPECT_FALSE(trace.open("/nonexistent-folder/trace"));
    EXPECT_NE(trace.errorText().find("/nonexistent-folder/trace: "), std::string::npos);
    EXPECT_FALSE(trace.isOpen());
}

}  // namespace
}  // namespace vantrel::test
