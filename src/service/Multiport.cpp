#include "service/Multiport.h"

#include <algorithm>
#include <string>

#include "image/ValueLists.h"
#include "link/Commands.h"
#include "link/LinkPort.h"
#include "pages/ConfigSheet.h"
#include "pages/Entries.h"
#include "pages/UnsignedField.h"

namespace vantrel::service {

namespace {

using pages::Bits;

// Bus card registers of the unit.
constexpr int kNumberPortsRegister = 64;
constexpr int kActivePortsRegister = 65;
constexpr int kCustomOpenLimitRegister = 67;
constexpr int kLocalControlRegister = 71;
constexpr int kBiDirectionalRegister = 72;
constexpr int kClockwiseFirstRegister = 80;
constexpr int kAntiClockFirstRegister = 90;

// Configuration registers.
constexpr uint8_t kDirectionRegister = 65;
constexpr uint8_t kOpenLimitRegister = 68;
constexpr uint8_t kPositionRegister = 0;
constexpr uint8_t kHomeHigh = 0x1A;  // the home count 0x1A0000, least significant byte first

constexpr uint32_t kWordMask = 0xFFFF;
constexpr int kWordBytes = 2;

// "Open Limit Mode" entries and the open limits of the two ZRT sizes.
enum OpenLimitEntry { kZrtSmall, kZrtLarge, kUserDefined, kUndefined };
constexpr uint16_t kZrtSmallLimit = 4228;
constexpr uint16_t kZrtLargeLimit = 3999;

constexpr const char* kMiscCaption = "Misc";
constexpr const char* kClockwiseCaption = "Clockwise";
constexpr const char* kAntiClockCaption = "Anti-clock";
constexpr const char* kSend = "Send";

constexpr const char* kAutoCalQuestion =
    "Do you want the port positions to be recalculated equi-spaced? Note: you will need to "
    "'send' data in Clockwise and Anti-Clock pages";
constexpr const char* kAutoCalCaption = "Auto-cal";
constexpr const char* kInvalidOpenLimit =
    "Please set open limit mode to valid value, data will not be sent";
constexpr const char* kNotAscending =
    "Note Ports are NOT in ascending order, Please check that this is correct";

// Equal spacing by number of ports; ports beyond the number hold 990 + their index.
constexpr uint16_t kEqualSpacing[kMaxPorts - kMinPorts + 1][kMaxPorts] = {
    {0, 500, 992, 993, 994, 995, 996, 997, 998, 999},
    {0, 333, 666, 993, 994, 995, 996, 997, 998, 999},
    {0, 250, 500, 750, 994, 995, 996, 997, 998, 999},
    {0, 200, 400, 600, 800, 995, 996, 997, 998, 999},
    {0, 166, 333, 500, 666, 833, 996, 997, 998, 999},
    {0, 142, 284, 428, 571, 714, 857, 997, 998, 999},
    {0, 125, 250, 375, 500, 625, 750, 875, 998, 999},
    {0, 111, 222, 333, 444, 555, 666, 777, 888, 999},
    {0, 100, 200, 300, 400, 500, 600, 700, 800, 900},
};

Bits busBits(int busRegister, uint32_t mask = kWordMask) {
    return Bits{multiportByte(busRegister), mask, kWordBytes};
}

uint16_t busValue(const image::ConfigImage& image, int busRegister) {
    return static_cast<uint16_t>(busBits(busRegister).read(image, multiportByte(busRegister)));
}

void setBusValue(image::ConfigImage& image, int busRegister, uint16_t value) {
    busBits(busRegister).write(image, value);
}

uint16_t openLimit(const image::ConfigImage& image) {
    return static_cast<uint16_t>(image.reg(kOpenLimitRegister) |
                                 (image.reg(kOpenLimitRegister + 1) << 8));
}

void setOpenLimit(image::ConfigImage& image, uint16_t value) {
    image.reg(kOpenLimitRegister) = static_cast<uint8_t>(value);
    image.reg(kOpenLimitRegister + 1) = static_cast<uint8_t>(value >> 8);
}

// A bus register write: the value's low byte, then its high byte or 0.
image::FrameStep writeBus(int busRegister, int bytes) {
    return image::frames::fromImage(link::WRITE_BUS_REGISTER, static_cast<uint8_t>(busRegister),
                                    multiportByte(busRegister), bytes);
}

}  // namespace

std::array<uint16_t, kMaxPorts> equalSpacing(int ports) {
    std::array<uint16_t, kMaxPorts> row{};
    const auto& spacing = kEqualSpacing[ports - kMinPorts];
    std::copy(std::begin(spacing), std::end(spacing), row.begin());
    return row;
}

CMultiport::CMultiport(shell::Context& context)
    : ConfigPage(context, pages::kMultiport,
                 pages::PageRules{.defaultView = false, .checksums = pages::kNoChecksum}) {
    build(View::Misc);
}

void CMultiport::setUp() {
    context_.defaultView = false;
    invalid_ = false;
    build(View::Misc);
    ConfigPage::setUp();
}

void CMultiport::build(View view) {
    view_ = view;
    clearPage();
    numberPorts_ = nullptr;
    openLimitMode_ = nullptr;
    portOne_ = nullptr;
    positions_.fill(nullptr);
    if (view == View::Misc)
        buildMisc();
    else
        buildPositions();

    section({}, 3);
    addButton(kSend, [this] {
        setFocus(kSend);
        send();
    }).writes = true;
    const char* caption = view == View::Misc        ? kMiscCaption
                          : view == View::Clockwise ? kClockwiseCaption
                                                    : kAntiClockCaption;
    addButton(
        caption, [this] { nextView(); }, "view");
    addHelpButton();
}

void CMultiport::buildMisc() {
    section();
    auto& number = list("Number Ports", busBits(kNumberPortsRegister), std::nullopt,
                        pages::numberEntries(kMinPorts, kMaxPorts));
    number.offset = kMinPorts;
    numberPorts_ = &static_cast<ui::ComboBox&>(number.control());
    openLimitMode_ = &addComboBox("Open Limit Mode");
    openLimitMode_->assign({"ZRT 125/250/500", "ZRT 1000/2000", "User defined", "Undefined"});
    list("Local Control", busBits(kLocalControlRegister), std::nullopt,
         {"Mode 1", "Mode 2", "Mode 3"})
        .offset = 1;
    list("Bi DirectionalMode", busBits(kBiDirectionalRegister), std::nullopt, {"OFF", "ON"});
    list("Direction to close", pages::regBits(kDirectionRegister, 0x01), std::nullopt,
         {"Clock", "A/Clock"});

    section();
    addButton("Set position to 0% (home)", [this] { setHome(); }).writes = true;
    addLabel("Active Ports: NB Port 1 always present");

    section({}, kMaxPorts / 2);
    for (int port = 1; port <= kMaxPorts; ++port) {
        auto& box = check(std::to_string(port), busBits(kActivePortsRegister, 1u << (port - 1)),
                          std::nullopt);
        if (port == 1) portOne_ = &static_cast<ui::CheckBox&>(box.control());
    }
}

void CMultiport::buildPositions() {
    const char* prefix = view_ == View::Clockwise ? "Clockwise Port " : "A/Clockwise Port ";
    const int first = firstPositionRegister();
    section({}, 2);
    for (int port = 1; port <= rowsShown(); ++port) {
        auto& box = addEdit(prefix + std::to_string(port));
        field<pages::UnsignedField>(box, busBits(first + port - 1), std::nullopt);
        positions_[port - 1] = &box;
        addButton(std::to_string(port), [this, port] { portButton(port); });
    }
}

int CMultiport::rowsShown() const {
    const int stored = busValue(context_.image, kNumberPortsRegister);
    return std::clamp(stored, kMinPorts, kMaxPorts);
}

int CMultiport::firstPositionRegister() const {
    return view_ == View::AntiClock ? kAntiClockFirstRegister : kClockwiseFirstRegister;
}

void CMultiport::nextView() {
    // Edits not taken are lost: the new view's controls are loaded from the image.
    const View next = view_ == View::Misc        ? View::Clockwise
                      : view_ == View::Clockwise ? View::AntiClock
                                                 : View::Misc;
    build(next);
    fillLists();
    enableControls();
    load();
}

void CMultiport::afterEnable() {
    if (portOne_) portOne_->enabled = false;
    if (openLimitMode_) openLimitMode_->enabled = true;
}

void CMultiport::afterLoad() {
    if (!openLimitMode_) return;
    const image::ConfigImage& image = context_.image;
    if (busValue(image, kCustomOpenLimitRegister) != 0)
        openLimitMode_->selected = kUserDefined;
    else if (openLimit(image) == kZrtSmallLimit)
        openLimitMode_->selected = kZrtSmall;
    else if (openLimit(image) == kZrtLargeLimit)
        openLimitMode_->selected = kZrtLarge;
    else
        openLimitMode_->selected = kUndefined;
}

void CMultiport::afterTake() {
    if (view_ == View::Misc)
        takeMisc();
    else
        takePositions();
}

void CMultiport::takeMisc() {
    invalid_ = false;
    image::ConfigImage& image = context_.image;
    // With no number of ports chosen the stored one stays, and nothing is recalculated.
    if (numberPorts_->selected >= 0 &&
        context_.ui.question({ui::QuestionId::OnTheWay, kAutoCalQuestion, kAutoCalCaption})) {
        const auto row = equalSpacing(numberPorts_->selected + kMinPorts);
        for (int i = 0; i < kMaxPorts; ++i) {
            setBusValue(image, kClockwiseFirstRegister + i, row[i]);
            setBusValue(image, kAntiClockFirstRegister + i, row[i]);
        }
    }
    switch (openLimitMode_->selected) {
        case kZrtSmall:
        case kZrtLarge:
            setOpenLimit(image,
                         openLimitMode_->selected == kZrtSmall ? kZrtSmallLimit : kZrtLargeLimit);
            setBusValue(image, kCustomOpenLimitRegister, 0);
            break;
        case kUserDefined:
            setBusValue(image, kCustomOpenLimitRegister, 1);
            break;
        default:
            context_.ui.message(ui::MessageKind::Refusal, kInvalidOpenLimit);
            invalid_ = true;
            break;
    }
}

void CMultiport::takePositions() {
    invalid_ = false;
    image::ConfigImage& image = context_.image;
    const int first = firstPositionRegister();
    const int rows = rowsShown();
    for (int port = rows + 1; port <= kMaxPorts; ++port)
        setBusValue(image, first + port - 1, 0);

    // Each active port must lie beyond the last active port before it.
    const uint16_t active = busValue(image, kActivePortsRegister);
    uint16_t last = busValue(image, first);
    for (int port = 2; port <= rows; ++port) {
        if (!(active & (1u << (port - 1)))) continue;
        const uint16_t position = busValue(image, first + port - 1);
        if (position <= last) {
            context_.ui.message(ui::MessageKind::Note, kNotAscending);
            break;
        }
        last = position;
    }
}

void CMultiport::portButton(int port) {
    ui::Edit* box = positions_[port - 1];
    box->text = std::to_string(image::measureTravel(context_));
    acceptAndTake();
}

void CMultiport::setHome() {
    link::LinkPort link(context_);
    if (context_.port.isOpen())
        link.sendCommand(link::WRITE_REGISTER, kPositionRegister, 0, 0, kHomeHigh, true);
}

image::FrameSequence CMultiport::frames() const {
    image::FrameSequence steps;
    const int first = firstPositionRegister();
    for (int i = 0; i < kMaxPorts; ++i)
        steps.push_back(writeBus(first + i, kWordBytes));
    steps.push_back(image::frames::fixed(link::COMMIT_BUS_SETTINGS, 0));
    steps.push_back(image::frames::fixed(link::COMMIT_BUS_SETTINGS, 0));
    return steps;
}

bool CMultiport::sendFrames(link::LinkPort& link) {
    if (view_ != View::Misc) return ConfigPage::sendFrames(link);
    using namespace image::frames;
    const image::ConfigImage& image = context_.image;
    const image::FrameSequence settings = {writeBus(kNumberPortsRegister, 1),
                                           writeBus(kActivePortsRegister, kWordBytes),
                                           writeBus(kCustomOpenLimitRegister, 1),
                                           writeBus(kLocalControlRegister, 1),
                                           writeBus(kBiDirectionalRegister, 1),
                                           unlock(),
                                           readModifyWrite(kDirectionRegister, {0x01, 0x00, 0x00})};
    bool done = image::runFrames(link, image, settings) == settings.size();
    if (done) {
        // The open limit of a ZRT size goes too; its failure does not stop the lock.
        if (busValue(image, kCustomOpenLimitRegister) == 0) {
            const image::FrameStep limit = writeRegister(kOpenLimitRegister);
            image::runFrames(link, image, {&limit, 1});
        }
        const image::FrameStep lockStep = lock();
        done = image::runFrames(link, image, {&lockStep, 1}) == 1;
    }
    // The card takes its new settings whether or not the writes went through.
    const image::FrameStep commit = fixed(link::COMMIT_BUS_SETTINGS, 0);
    return image::runFrames(link, image, {&commit, 1}) == 1 && done;
}

}  // namespace vantrel::service
