#include <gtest/gtest.h>

#include <cstdio>
#include <string_view>

#include "PageHarness.h"
#include "link/Commands.h"

namespace vantrel::test {
namespace {

using namespace std::string_literals;

constexpr const char* kPage = "Service Notes";
constexpr const char* kUnlock = "10 00 00 00 00";
constexpr const char* kLock = "11 00 00 00 00";
constexpr const char* kEepromError = "error: EEPROM Error";

// Text bytes at an image offset.
std::vector<ByteAt> text(int offset, std::string_view bytes) {
    std::vector<ByteAt> at;
    for (char c : bytes)
        at.push_back({offset++, static_cast<uint8_t>(c)});
    return at;
}

// The WRITE_ID_PAIR frames for the bytes first..end-1, which hold `bytes` from first
// and zeros after them.
std::vector<std::string> pairs(int first, int end, std::string_view bytes) {
    auto byte = [&](int address) {
        const auto i = static_cast<std::size_t>(address - first);
        return i < bytes.size() ? static_cast<uint8_t>(bytes[i]) : 0;
    };
    std::vector<std::string> frames;
    for (int address = first; address < end; address += 2) {
        char frame[32];
        std::snprintf(frame, sizeof frame, "80 %02X %02X %02X 00", address, byte(address),
                      byte(address + 1));
        frames.push_back(frame);
    }
    return frames;
}

// A whole Send: unlock, the text pairs, the checksum frame, lock.
std::vector<std::string> wholeSend(std::vector<std::string> texts, const std::string& checksum) {
    texts.insert(texts.begin(), kUnlock);
    texts.push_back(checksum);
    texts.push_back(kLock);
    return texts;
}

template <class T>
std::vector<T> operator+(std::vector<T> a, const std::vector<T>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class ServiceNotes : public ::testing::TestWithParam<PageCase> {};

TEST_P(ServiceNotes, Row) {
    runPageCase(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ServiceNotes,
    ::testing::Values(
        PageCase{
            .name = "the notes view shows the notes and forgets text typed before a switch",
            .page = kPage,
            .image = text(188, "made") + text(140, "old"),
            .steps = {"absent Main PCB", "set Service Notes=new", "press Notes", "press S/Nos"},
            .shows = {"Manufacture Notes: made", "Service Notes: old"}},
        PageCase{.name = "a full serial field runs to its end and an empty one shows nothing",
                 .page = kPage,
                 .image = text(12, "ABCDEFGHIJKLMNOP") + text(28, "local"),
                 .steps = {"press Notes", "absent Service Notes", "absent Manufacture Notes"},
                 .shows = {"Main PCB: ABCDEFGHIJKLMNOP", "Local PCB: local",
                           "Power PCB: ", "Option4 PCB: "}},
        PageCase{.name = "a serial longer than its field stores 16 characters and no zero byte",
                 .page = kPage,
                 .image = text(60, "p") + text(140, "n"),
                 .steps = {"press Notes", "set Resolver PCB=ABCDEFGHIJKLMNOPQR",
                           "set Option4 PCB=ABCDEFGHIJKLMNOPQR", "keep"},
                 .shows = {"Resolver PCB: ABCDEFGHIJKLMNOP", "Power PCB: p"},
                 .after = {{59, 'P'}, {60, 'p'}, {139, 'P'}, {140, 'n'}, {255, 0xEF}}},
        PageCase{.name = "a shortened note stores a zero byte and the view's pairs are sent",
                 .page = kPage,
                 .image = text(140, "ABCDEFGH") + std::vector<ByteAt>{{256, 0x5A}},
                 .steps = {"set Service Notes=AB", "send", "press Notes", "press S/Nos"},
                 .shows = {"Service Notes: AB"},
                 .frames = wholeSend(pairs(140, 188, "AB\0DEFGH"s), "80 FF E2 5A 00"),
                 .after = {{142, 0}, {143, 'D'}, {255, 0xE2}, {256, 0x5A}}},
        PageCase{.name = "a changed manufacture note counts in the checksum but is not sent",
                 .page = kPage,
                 .steps = {"set Manufacture Notes=XY", "send"},
                 .frames = wholeSend(pairs(140, 188, ""), "80 FF B2 00 00"),
                 .after = {{188, 'X'}, {189, 'Y'}, {190, 0}, {255, 0xB2}}},
        PageCase{
            .name = "the serial numbers view sends its 64 pairs",
            .page = kPage,
            .steps = {"press Notes", "set Option4 PCB=Z", "send"},
            .frames = wholeSend(pairs(12, 140, std::string(112, '\0') + "Z"), "80 FF 5B 00 00"),
            .after = {{124, 'Z'}, {255, 0x5B}}},
        PageCase{.name = "8-bit text goes into the image and comes back unchanged",
                 .page = kPage,
                 .steps = {"set Service Notes=\xE9\xFF\x01~ x\r\ny", "keep"},
                 .shows = {"Service Notes: \xE9\xFF\x01~ x\r\ny"},
                 .after = text(140, "\xE9\xFF\x01~ x\r\ny\0"s)},
        PageCase{.name = "a zero byte in a box is refused before anything is taken",
                 .page = kPage,
                 .steps = {"set Service Notes=A\0B"s, "send"},
                 .after = {{140, 0}, {255, 0}},
                 .dialogs = {"error: A text cannot hold a zero byte."}},
        PageCase{.name = "while the serial numbers are shown other pages refuse to send",
                 .page = kPage,
                 .steps = {"goto Stop Settings", "goto Service Notes", "press Notes",
                           "goto Stop Settings", "send"},
                 .dialogs = {"error: Unable to update, access denied"}},
        PageCase{.name = "a refused unlock sends nothing else",
                 .page = kPage,
                 .steps = {"send"},
                 .frames = {kUnlock},
                 .dialogs = {kEepromError},
                 .setUp = refuse(link::UNLOCK_EEPROM)},
        PageCase{.name = "a failed text frame skips the rest, then checksum and lock follow",
                 .page = kPage,
                 .steps = {"set Service Notes=Q", "send"},
                 .frames = {kUnlock, "80 8C 51 00 00", "80 8E 00 00 00", "80 90 00 00 00",
                            "80 FF 52 00 00", kLock},
                 .after = {{140, 'Q'}, {255, 0x52}},
                 .dialogs = {kEepromError},
                 .setUp = refuse(link::WRITE_ID_PAIR, 0x90)},
        PageCase{.name = "failed text and checksum frames end without a lock",
                 .page = kPage,
                 .steps = {"press Notes", "send"},
                 .frames = {kUnlock, "80 0C 00 00 00", "80 FF 01 00 00"},
                 .dialogs = {kEepromError, kEepromError},
                 .setUp = refuse(link::WRITE_ID_PAIR)}),
    [](const auto& info) { return rowName(info.param.name); });

}  // namespace
}  // namespace vantrel::test
