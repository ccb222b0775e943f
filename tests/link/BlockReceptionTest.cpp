// Records that follow a request: lead-in search, CRC, slot layout, bursts and
// back-to-back records with their time limits.
#include <algorithm>
#include <chrono>

#include "LinkFixture.h"
#include "link/Commands.h"
#include "link/Crc16.h"
#include "link/ErrorFlags.h"
#include "link/LinkPort.h"

namespace vantrel::test {
namespace {

using namespace std::chrono_literals;
using link::LinkPort;

class BlockReceptionTest : public LinkFixture {
protected:
    // Answers the request with 'Y' followed by the given stream steps.
    void requestAnswers(std::vector<FarEnd::Step> stream) {
        stream.insert(stream.begin(), FarEnd::Step{reply('Y')});
        answerEvery(std::move(stream));
    }
    bool request(LinkPort& link) {
        return link.sendCommand(link::REQUEST_CONFIG_BLOCKS, 0, 0, 0, 0, false);
    }
};

Bytes join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

TEST(Crc16, CheckValueEmptyRunAndChaining) {
    const uint8_t digits[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(link::crc16(digits, 9, link::kCrcStart), 0x6F91);
    EXPECT_EQ(link::crc16(digits, 0, 0x1234), 0x1234);
    EXPECT_EQ(link::crc16(digits + 4, 5, link::crc16(digits, 4, link::kCrcStart)), 0x6F91);
}

TEST_F(BlockReceptionTest, NoiseBeforeRecordIsSkipped) {
    requestAnswers({{join({{0x00, 0x13, 0x7F, 'X', 0xFF}, record('E', 2, 0x40)})}});
    LinkPort link(context_);
    ASSERT_TRUE(request(link));
    std::array<uint8_t, 128> data{};
    EXPECT_TRUE(link.receiveBlock(data.data(), 'E'));
    EXPECT_EQ(data, recordData(0x40));
    EXPECT_EQ(context_.errorFlags, 0u);
}

TEST_F(BlockReceptionTest, LeadInInsideHeaderIsNotSearchedAgain) {
    // Header and block number are all 'E': a search restarted inside them would
    // misalign the record and fail its CRC.
    requestAnswers({{record('E', 'E', 0x10, "EEEE")}});
    LinkPort link(context_);
    ASSERT_TRUE(request(link));
    std::array<uint8_t, 128> data{};
    EXPECT_TRUE(link.receiveBlock(data.data(), 'E'));
    EXPECT_EQ(data, recordData(0x10));
}

TEST_F(BlockReceptionTest, SwappedCrcBytesFail) {
    Bytes swapped = record('E', 1, 0x20);
    std::swap(swapped[134], swapped[135]);
    ASSERT_NE(swapped[134], swapped[135]);
    requestAnswers({{swapped}});
    LinkPort link(context_);
    ASSERT_TRUE(request(link));
    std::array<uint8_t, 128> data{};
    EXPECT_FALSE(link.receiveBlock(data.data(), 'E'));
    EXPECT_EQ(context_.errorFlags, uint32_t{link::kBlockCrcWrong});
    EXPECT_EQ(ui_.messages, std::vector<std::string>{"CRC wrong"});
}

TEST_F(BlockReceptionTest, DatalogRecordFillsSlot) {
    const Bytes sent = record('B', 200, 0x80);
    requestAnswers({{sent}});
    LinkPort link(context_);
    ASSERT_TRUE(request(link));
    std::array<uint8_t, 133> slot;
    slot.fill(0xEE);
    EXPECT_TRUE(link.receiveBlock(slot.data(), 'B'));
    EXPECT_EQ(slot[0], 200);
    const auto data = recordData(0x80);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), slot.begin() + 1));
    EXPECT_EQ(slot[129], sent[134]);
    EXPECT_EQ(slot[130], sent[135]);
    EXPECT_EQ(slot[131], 13);
    EXPECT_EQ(slot[132], 0xEE) << "nothing written past the 132-byte slot";
}

TEST_F(BlockReceptionTest, SilenceAndEndlessNoiseAreBounded) {
    // Asks for a block and expects it to fail with this flag within the time-out.
    const auto expectBoundedFailure = [this](uint32_t flag) {
        LinkPort link(context_);
        ASSERT_TRUE(request(link));
        std::array<uint8_t, 132> slot{};
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(link.receiveBlock(slot.data(), 'B'));
        EXPECT_LT(secondsSince(start), 1.5);
        EXPECT_EQ(context_.errorFlags, flag);
    };
    requestAnswers({});
    expectBoundedFailure(link::kEventNotRx);

    FarEnd noisy;
    ASSERT_TRUE(noisy.ok());
    // Noise that never holds the lead-in, arriving faster than the read time-out.
    noisy.serve([](const Frame&) {
        std::vector<FarEnd::Step> steps{{reply('Y')}};
        for (int i = 0; i < 30; ++i)
            steps.push_back({Bytes(8, 'x'), 100ms});
        return steps;
    });
    context_.portName = noisy.path();
    expectBoundedFailure(link::kReadFailed);
}

TEST_F(BlockReceptionTest, RecordCutShortFailsAsReadError) {
    Bytes cut = record('E', 0, 0);
    cut.resize(60);
    requestAnswers({{cut}});
    LinkPort link(context_);
    ASSERT_TRUE(request(link));
    std::array<uint8_t, 128> data{};
    EXPECT_FALSE(link.receiveBlock(data.data(), 'E'));
    EXPECT_EQ(context_.errorFlags, uint32_t{link::kReadFailed});
}

TEST_F(BlockReceptionTest, BurstTakesFourRecordsAsTheyCome) {
    Bytes burst;
    for (uint8_t n = 0; n < 4; ++n) {
        Bytes r = record('E', n, static_cast<uint8_t>(n * 16));
        burst.insert(burst.end(), r.begin(), r.end());
    }
    burst[200] ^= 0xFF;  // a damaged byte is the caller's business
    requestAnswers({{Bytes(burst.begin(), burst.begin() + 300)},
                    {Bytes(burst.begin() + 300, burst.end()), 50ms}});
    LinkPort link(context_);
    ASSERT_TRUE(request(link));
    std::array<uint8_t, link::kBurstBytes> received{};
    EXPECT_TRUE(link.receiveBurst(received.data()));
    EXPECT_TRUE(std::equal(burst.begin(), burst.end(), received.begin()));
    EXPECT_EQ(context_.errorFlags, 0u);
}

TEST_F(BlockReceptionTest, NoiseBeforeABurstIsDroppedAndTheLastRecordKeptWhole) {
    Bytes burst;
    for (uint8_t n = 0; n < 4; ++n)
        burst = join({burst, record('E', n, static_cast<uint8_t>(n * 16))});
    requestAnswers({{join({{0x00, 0xFF, 0x13}, burst})}});
    LinkPort link(context_);
    ASSERT_TRUE(request(link));
    std::array<uint8_t, link::kBurstBytes> received{};
    EXPECT_TRUE(link.receiveBurst(received.data()));
    EXPECT_TRUE(std::equal(burst.begin(), burst.end(), received.begin()));
}

TEST_F(BlockReceptionTest, BurstWithADamagedFirstLeadInIsKeptAsItArrived) {
    Bytes burst;
    for (uint8_t n = 0; n < 4; ++n)
        burst = join({burst, record('E', n, 0x30, "EEEE")});
    burst[0] = 'x';
    requestAnswers({{burst}});
    LinkPort link(context_);
    ASSERT_TRUE(request(link));
    std::array<uint8_t, link::kBurstBytes> received{};
    EXPECT_TRUE(link.receiveBurst(received.data()));
    EXPECT_TRUE(std::equal(burst.begin(), burst.end(), received.begin()));
}

TEST_F(BlockReceptionTest, BurstFailsOnSilenceOrShortfallWithoutFlag) {
    Bytes r = record('E', 0, 0);
    requestAnswers({{r}});  // one record of four, then nothing
    LinkPort link(context_);
    std::array<uint8_t, link::kBurstBytes> received{};
    ASSERT_TRUE(request(link));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(link.receiveBurst(received.data()));
    EXPECT_LT(secondsSince(start), 1.5);
    EXPECT_FALSE(link.receiveBurst(received.data())) << "silence";
    EXPECT_EQ(context_.errorFlags, 0u);
}

TEST_F(BlockReceptionTest, RecordsArrivingInTimeAreAllTaken) {
    Bytes stream;
    for (uint8_t n = 0; n < 5; ++n) {
        Bytes r = record('B', n, n);
        stream.insert(stream.end(), r.begin(), r.end());
    }
    requestAnswers({{stream}});
    LinkPort link(context_);
    ASSERT_TRUE(request(link));
    std::vector<uint8_t> buffer(5 * link::kRecordBytes);
    int received = -1;
    EXPECT_TRUE(link.receiveRecords(buffer, 5, &received));
    EXPECT_EQ(received, 5 * link::kRecordBytes);
    EXPECT_EQ(buffer, stream);
    EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(BlockReceptionTest, NoiseBeforeRecordsIsDroppedAndTheLastRecordKeptWhole) {
    // The noise holds a lead-in and part of a marker, but never the whole marker.
    const Bytes records = join({record('B', 0, 1), record('B', 1, 2), record('B', 2, 3)});
    requestAnswers({{join({{'B', 'L', 0x00, 'B', 'L', 'O'}, records})}});
    LinkPort link(context_);
    ASSERT_TRUE(request(link));
    std::vector<uint8_t> buffer(3 * link::kRecordBytes);
    int received = -1;
    EXPECT_TRUE(link.receiveRecords(buffer, 3, &received));
    EXPECT_EQ(received, 3 * link::kRecordBytes);
    EXPECT_EQ(buffer, records);
    EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(BlockReceptionTest, NoiseBetweenRecordsIsReadOnWithinTheBuffer) {
    // Noise before each record: the last records end beyond count x 136 bytes. The
    // noise before the first record is dropped; the rest is kept for the parser.
    const Bytes noise = {0x00, 'B', 'L', 'O', 0x55, 'K'};
    const Bytes r0 = record('B', 0, 1), r1 = record('B', 1, 2), r2 = record('B', 2, 3);
    const Bytes damaged = record('B', 2, 3, "LOCX");
    const Bytes whole = join({r0, noise, r1, noise, r2});
    const Bytes lastDamaged = join({r0, noise, r1, noise, damaged});
    const struct {
        const char* name;
        Bytes kept;  // what the buffer holds at the end
        size_t capacity;
        bool timeout;
    } rows[] = {
        {"three whole records, no wait", whole, 4 * link::kRecordBytes, false},
        {"bounded by the buffer", Bytes(whole.begin(), whole.end() - 10), whole.size() - 10, false},
        // The third marker never comes: the line goes quiet with two whole records.
        {"third marker damaged", lastDamaged, 4 * link::kRecordBytes, true},
    };
    // The request's address byte names the row to answer with.
    farEnd_.serve([&](const Frame& frame) {
        const auto& row = rows[frame[6]];
        const Bytes& last = row.timeout ? damaged : r2;
        return std::vector<FarEnd::Step>{{reply('Y')}, {join({noise, r0, noise, r1, noise, last})}};
    });
    for (uint8_t at = 0; at < std::size(rows); ++at) {
        const auto& row = rows[at];
        SCOPED_TRACE(row.name);
        ui_.messages.clear();
        LinkPort link(context_);
        ASSERT_TRUE(link.sendCommand(link::REQUEST_DATALOG_BLOCKS, at, 2, 0xFF, 0, false));
        std::vector<uint8_t> buffer(row.capacity + 16, 0xEE);
        int received = -1;
        const auto start = std::chrono::steady_clock::now();
        EXPECT_TRUE(link.receiveRecords(std::span(buffer.data(), row.capacity), 3, &received));
        EXPECT_LT(secondsSince(start), row.timeout ? 1.5 : 0.5);
        ASSERT_EQ(received, static_cast<int>(row.kept.size()));
        EXPECT_TRUE(std::equal(row.kept.begin(), row.kept.end(), buffer.begin()));
        EXPECT_TRUE(std::all_of(buffer.begin() + row.capacity, buffer.end(),
                                [](uint8_t b) { return b == 0xEE; }));
        EXPECT_EQ(ui_.messages, row.timeout ? std::vector<std::string>{"Timeout receiving datalog"}
                                            : std::vector<std::string>{});
    }
}

TEST_F(BlockReceptionTest, LateRecordEndsWithTimeoutAndKeepsEarlierContent) {
    const Bytes first = join({record('B', 0, 1), record('B', 1, 2)});
    requestAnswers({{first}, {record('B', 2, 3), 1300ms}});
    LinkPort link(context_);
    ASSERT_TRUE(request(link));
    std::vector<uint8_t> buffer(3 * link::kRecordBytes, 0xAA);
    const auto start = std::chrono::steady_clock::now();
    int received = -1;
    EXPECT_TRUE(link.receiveRecords(buffer, 3, &received));
    EXPECT_LT(secondsSince(start), 1.25);
    EXPECT_EQ(received, 2 * link::kRecordBytes);
    EXPECT_EQ(ui_.messages, std::vector<std::string>{"Timeout receiving datalog"});
    EXPECT_TRUE(std::equal(first.begin(), first.end(), buffer.begin()));
    EXPECT_TRUE(std::all_of(buffer.begin() + first.size(), buffer.end(),
                            [](uint8_t b) { return b == 0xAA; }));
}

TEST_F(BlockReceptionTest, RecordsEndFalseWhenTheLineHangsUp) {
    Bytes cut = record('B', 0, 1);
    cut.resize(70);
    requestAnswers({{cut, 100ms, true}});
    LinkPort link(context_);
    ASSERT_TRUE(request(link));
    std::vector<uint8_t> buffer(2 * link::kRecordBytes);
    EXPECT_FALSE(link.receiveRecords(buffer, 2));
    EXPECT_TRUE(ui_.messages.empty());
}

}  // namespace
}  // namespace vantrel::test
