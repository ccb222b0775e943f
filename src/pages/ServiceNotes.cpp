#include "pages/ServiceNotes.h"

#include <array>
#include <span>

#include "image/Checksums.h"
#include "link/Commands.h"
#include "pages/ConfigSheet.h"
#include "pages/TextField.h"

namespace vantrel::pages {

namespace {

namespace area = image::area;

struct SerialRow {
    const char* label;
    image::Area area;
};

// The rows in the order the page shows them, which is not their order in memory.
constexpr std::array<SerialRow, 8> kSerialRows = {{
    {"Main PCB:", area::ID_MAIN},
    {"Power PCB:", area::ID_POWER},
    {"Local PCB:", area::ID_LOCAL},
    {"Resolver PCB:", area::ID_RESOLVE},
    {"Option1 PCB:", area::ID_OPTION1},
    {"Option2 PCB:", area::ID_OPTION2},
    {"Option3 PCB:", area::ID_OPTION3},
    {"Option4 PCB:", area::ID_OPTION4},
}};

// Send writes the serial numbers (bytes 12..139) in the serial numbers view, and
// only the service note in the notes view: the manufacture note is never sent.
constexpr int kSerialsFirst = area::ID_MAIN.offset;
constexpr int kSerialsEnd = area::ID_OPTION4.offset + area::ID_OPTION4.length;
constexpr int kPairBytes = 2;

// The checksum frame carries ID_CSUM and, as its second byte, the image byte that
// follows the identification half.
constexpr uint8_t kChecksumAddress = area::ID_CSUM.offset;
constexpr std::size_t kEndingFrames = 2;  // the checksum frame and LOCK_EEPROM

image::FrameStep idPair(int address) {
    return image::frames::fromImage(link::WRITE_ID_PAIR, static_cast<uint8_t>(address), address,
                                    kPairBytes);
}

}  // namespace

CConfTab6::CConfTab6(shell::Context& context)
    : ConfigPage(context, kServiceNotes,
                 PageRules{.defaultView = false, .checksums = kIdentificationChecksum}) {
    build();
}

void CConfTab6::build() {
    clearPage();
    section();
    if (showsSerials_) {
        for (const SerialRow& row : kSerialRows)
            field<TextField>(addEdit(row.label), row.area.offset, row.area.length);
    } else {
        for (const auto& [label, note] : {std::pair{"Manufacture Notes:", area::NOTES},
                                          std::pair{"Service Notes:", area::ID_MANU}}) {
            auto& box = addEdit(label);
            box.multiLine = true;
            field<TextField>(box, note.offset, note.length);
        }
    }
    section({}, 2);
    addSendButton();
    auto& view = addButton(showsSerials_ ? kSerialNumbersCaption : kNotesCaption,
                           [this] { switchNotesView(); });
    view.captions[0] = kNotesCaption;
    view.captions[1] = kSerialNumbersCaption;
}

void CConfTab6::setUp() {
    // Every set-up shows the notes, and the shared flag says so.
    context_.defaultView = false;
    if (showsSerials_) {
        showsSerials_ = false;
        build();
    }
    ConfigPage::setUp();
}

void CConfTab6::broughtToFront() {
    // The shared flag is set while the serial numbers are shown.
    context_.defaultView = showsSerials_;
    ConfigPage::broughtToFront();
}

void CConfTab6::switchNotesView() {
    // Text typed in the view that is left and not yet taken is lost with its boxes.
    showsSerials_ = !showsSerials_;
    context_.defaultView = showsSerials_;
    build();
    fillLists();
    enableControls();
    load();
}

void CConfTab6::showView(int view) {
    if ((view == 1) != showsSerials_) switchNotesView();
}

image::FrameSequence CConfTab6::textFrames() const {
    const int first = showsSerials_ ? kSerialsFirst : area::ID_MANU.offset;
    const int end = showsSerials_ ? kSerialsEnd : area::ID_MANU.offset + area::ID_MANU.length;
    image::FrameSequence run;
    for (int address = first; address < end; address += kPairBytes)
        run.push_back(idPair(address));
    return run;
}

image::FrameSequence CConfTab6::frames() const {
    image::FrameSequence run = {image::frames::unlock()};
    for (image::FrameStep& step : textFrames())
        run.push_back(std::move(step));
    run.push_back(idPair(kChecksumAddress));
    run.push_back(image::frames::lock());
    return run;
}

void CConfTab6::afterTake() {
    // Send puts the checksum right as soon as the edits are taken, since its last
    // frame carries it; keeping changes does it through the page's rules as well.
    image::updateIdentificationChecksum(context_.image);
}

bool CConfTab6::sendFrames(link::LinkPort& link) {
    const image::FrameSequence run = frames();
    const std::span<const image::FrameStep> all(run);
    const auto unlock = all.first(1);
    const auto texts = all.subspan(1, all.size() - kEndingFrames - 1);
    const auto ending = all.last(kEndingFrames);
    if (image::runFrames(link, context_.image, unlock) != unlock.size()) return false;
    const bool textsSent = image::runFrames(link, context_.image, texts) == texts.size();
    // The checksum frame follows even a failed text frame, so that the EEPROM is
    // locked again whenever that frame goes through.
    return image::runFrames(link, context_.image, ending) == ending.size() && textsSent;
}

}  // namespace vantrel::pages
