#include "image/ValueLists.h"

#include <chrono>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "link/Commands.h"
#include "link/LinkPort.h"

namespace vantrel::image {

namespace {

constexpr uint8_t kPositionRegister = 0;
constexpr uint8_t kOpenLimitRegister = 68;
constexpr float kThousandths = 1000.0f;
constexpr int kTenthsPerUnit = 10;

// Appends the text of every value first..last. The counter is wider than the
// bounds, so a list that ends at 65535 ends.
template <class Format>
void fillIntegers(ui::ComboBox& list, uint16_t first, uint16_t last, Format format) {
    for (unsigned v = first; v <= last; ++v)
        list.add(format(v));
}

std::string printed(const char* format, auto... values) {
    char text[64];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

// "1.5" for 15 tenths. Made from integers, so the point is a point whatever the
// process locale says.
std::string tenthsText(long tenths) {
    const long whole = tenths / kTenthsPerUnit;
    const long tenth = std::labs(tenths % kTenthsPerUnit);
    const char* sign = tenths < 0 && whole == 0 ? "-" : "";
    return printed("%s%ld.%ld", sign, whole, tenth);
}

// The 24-bit value of a register, least significant byte first (reply bytes 8..10).
int32_t registerValue(const link::LinkPort& link) {
    return link.reply(8) + 256 * link.reply(9) + 65536 * link.reply(10);
}

}  // namespace

void fillNumberList(ui::ComboBox& list, uint16_t first, uint16_t last) {
    fillIntegers(list, first, last, [](unsigned v) { return printed("%u", v); });
}

void fillNumberListSuffix(ui::ComboBox& list, uint16_t first, uint16_t last, bool withSuffix,
                          std::string_view suffix) {
    std::string ending = withSuffix ? std::string(suffix) : std::string();
    fillIntegers(list, first, last, [&](unsigned v) { return printed("%u", v) + ending; });
}

void fillHexList(ui::ComboBox& list, uint16_t first, uint16_t last) {
    fillIntegers(list, first, last, [](unsigned v) { return printed("%.2Xh", v); });
}

void fillTenthsList(ui::ComboBox& list, float first, float last, bool withSuffix,
                    std::string_view suffix) {
    // Counted in whole tenths, so adding 0.1 over and over cannot drift past last.
    long firstTenths = std::lround(first * kTenthsPerUnit);
    long lastTenths = std::lround(last * kTenthsPerUnit);
    std::string ending = withSuffix ? std::string(suffix) : std::string();
    for (long tenths = firstTenths; tenths < lastTenths; ++tenths)
        list.add(tenthsText(tenths) + ending);
}

void delayMs(unsigned ms) {
    // Sleeping rather than spinning: the caller is blocked all the same, but the
    // processor is free for the rest of the system.
    std::this_thread::sleep_until(std::chrono::steady_clock::now() + std::chrono::milliseconds(ms));
}

int measureTravel(link::LinkState& state) {
    link::LinkPort link(state);
    if (!link.sendCommand(link::READ_REGISTER, kOpenLimitRegister, 0, 0, 0, true)) return 0;
    int32_t openLimit = registerValue(link);
    if (!link.sendCommand(link::READ_REGISTER, kPositionRegister, 0, 0, 0, true)) return 0;
    int32_t position = registerValue(link);
    link.close();

    if (openLimit == kTravelHomeCount) return 0;
    float fraction = static_cast<float>(position - kTravelHomeCount) /
                     static_cast<float>(openLimit - kTravelHomeCount);
    float thousandths = fraction * kThousandths;
    // Far outside the travel the product would not fit an int; keep it in range.
    if (thousandths >= static_cast<float>(INT_MAX)) return INT_MAX;
    if (thousandths <= static_cast<float>(INT_MIN)) return INT_MIN;
    return static_cast<int>(thousandths);
}

}  // namespace vantrel::image
