#include "pages/Misc.h"

#include <cctype>
#include <charconv>
#include <cmath>

#include "pages/ConfigSheet.h"
#include "pages/Entries.h"

namespace vantrel::pages {

namespace {

constexpr uint8_t kPowerSupplyRegister = 62;  // bits 4-5, current configuration
constexpr uint8_t kPowerSupplyMask = 0x30;
constexpr uint8_t kOpenFirstRegister = 6;  // quadratic, linear, constant, stall
constexpr uint8_t kCloseFirstRegister = 10;
constexpr uint8_t kReadModifyWriteRegister = 61;  // covers 61..63, no parity bit
// The travel numbers are written as the registers 6, 9 and 11: bytes 6..13, with 11
// twice and 14 never.
constexpr uint8_t kTravelWrites[] = {6, 9, 11};

constexpr double kQuadraticScale = 512;
constexpr double kLinearScale = 16;
constexpr double kConstantScale = 0.5;  // shown as the byte × 2
constexpr int kHighestStall = 100;

constexpr int kReadChars = 7;         // a box's text is read up to this many characters
constexpr int kFractionChars = 5;     // "%f" cut to this many characters
constexpr int kFractionDecimals = 6;  // "%f"
constexpr const char* kNotAvailable = "N/A";

// The number at the start of a text, as the C library's atof reads it; text that
// does not start with a number counts as 0.
double leadingNumber(const std::string& text) {
    const char* first = text.data();
    const char* last = text.data() + text.size();
    while (first < last && std::isspace(static_cast<unsigned char>(*first)))
        ++first;
    if (first < last && *first == '+' && !(first + 1 < last && first[1] == '-')) ++first;
    double value = 0;
    if (std::from_chars(first, last, value).ec != std::errc() || !std::isfinite(value)) return 0;
    return value;
}

// The low eight bits of a value truncated toward zero, for any finite value.
uint8_t lowByte(double value) {
    double rest = std::fmod(std::trunc(value), 256);
    if (rest < 0) rest += 256;
    return static_cast<uint8_t>(rest);
}

// A travel number: a signed byte of the manufacture configuration, shown as the byte
// divided by its scale and taken back as the text times its scale. Quadratic and
// linear terms show "%f" cut to five characters, and an untouched box keeps its
// byte, since the shown text drops precision; constants show the whole number and
// are always taken. Formatted without the locale, so a box shows what it takes back.
class TravelField : public Field {
public:
    TravelField(ui::Edit& edit, int registerAddress, double scale, bool fraction)
        : Field(regBits(registerAddress), std::nullopt),
          edit_(edit),
          scale_(scale),
          fraction_(fraction) {
        edit_.maxLength = kReadChars;
    }
    ui::Control& control() override { return edit_; }

    void load(const image::ConfigImage& image, bool defaultView) override {
        if (defaultView) {
            edit_.text = kNotAvailable;
            return;
        }
        const double shown = static_cast<int8_t>(stored(image, false)) / scale_;
        char text[32];
        char* end = fraction_
                        ? std::to_chars(text, text + sizeof text, shown, std::chars_format::fixed,
                                        kFractionDecimals)
                              .ptr
                        : std::to_chars(text, text + sizeof text, static_cast<int>(shown)).ptr;
        if (fraction_ && end - text > kFractionChars) end = text + kFractionChars;
        edit_.text.assign(text, end);
        lastShown_ = edit_.text;
    }

    void take(image::ConfigImage& image) override {
        const std::string text = edit_.text.substr(0, kReadChars);
        if (fraction_ && text == lastShown_) return;
        bits_.write(image, lowByte(leadingNumber(text) * scale_));
    }

private:
    ui::Edit& edit_;
    double scale_;
    bool fraction_;
    std::string lastShown_;
};

}  // namespace

CConfTab7::CConfTab7(shell::Context& context)
    : ConfigPage(context, kMisc,
                 PageRules{.sendLevel = shell::kService,
                           .checksums = kCurrentChecksum | kManufactureChecksum}) {
    section();
    list("Power Supply", regBits(kPowerSupplyRegister, kPowerSupplyMask),
         defaultOf(kPowerSupplyRegister), {"Three Phase", "Single Phase", "DC"})
        .enabledInDefaultView = true;
    direction("Open", kOpenFirstRegister);
    direction("Close", kCloseFirstRegister);

    section({}, 2);
    addSendButton();
    addViewButton();
}

void CConfTab7::direction(const char* name, int firstRegister) {
    section();
    const std::string prefix = std::string(name) + " ";
    const struct {
        const char* term;
        double scale;
        bool fraction;
    } terms[] = {{"Quadratic", kQuadraticScale, true},
                 {"linear", kLinearScale, true},
                 {"Constant", kConstantScale, false}};
    int at = firstRegister;
    for (const auto& term : terms)
        field<TravelField>(addEdit(prefix + term.term), at++, term.scale, term.fraction)
            .minimumLevel = shell::kService;
    auto& stall =
        list(prefix + "Stall (%)", regBits(at), std::nullopt, numberEntries(0, kHighestStall));
    stall.defaultEntries = std::vector<std::string>{kNotAvailable};
    stall.minimumLevel = shell::kService;
}

image::FrameSequence CConfTab7::frames() const {
    using namespace image::frames;
    image::FrameSequence run = {
        unlock(), readModifyWrite(kReadModifyWriteRegister, {0x00, kPowerSupplyMask, 0x00})};
    for (uint8_t reg : kTravelWrites)
        run.push_back(writeRegister(reg));
    run.push_back(lock());
    return run;
}

}  // namespace vantrel::pages
