#include "pages/Contacts.h"

#include <string>

#include "pages/ConfigSheet.h"
#include "pages/Entries.h"

namespace vantrel::pages {

namespace {

// The function bytes of a group are four consecutive registers, and the value
// bytes the four after them: S1-S4 from 44, S5-S8 from 52.
constexpr int kFirstGroupRegister = 44;
constexpr int kGroupStride = 8;
constexpr int kValueDistance = 4;
constexpr int kLastContactRegister = 59;

constexpr uint32_t kFunctionBits = 0xFE;
constexpr uint32_t kNormallyClosedBit = 0x01;
constexpr int kLowestValue = 1;
constexpr int kHighestValue = 99;

constexpr const char* kNormallyOpen = "NO";
constexpr const char* kNormallyClosed = "NC";
constexpr const char* kGroupCaptions[] = {"S1-S4", "S5-S8"};

// The function codes, in list order: the code is the entry's position.
const std::vector<std::string>& functionEntries() {
    static const std::vector<std::string> entries = {
        "CL:Closed Limit",    "OP:Open Limit",      "Po:Position",       "tC:Torq trip Close",
        "tO:Torq trip Open",  "tt:Torq trip Any",   "tl:Torq trip Mid",  "dC:Column Closing",
        "dO:Column Opening",  "d?:Column Rotating", "St:Motor Stalled",  "bA:Battery Low",
        "HA:Hand operation",  "bL:Blinker",         "LS:Local Stop",     "OI:Open Interlock",
        "CI:Close Interlock", "IL:I/lock Active",   "ES:ESD Signal",     "LP:Phase Loss",
        "Lo:Local Selected",  "rE:Remote Selected", "AA:Actuator Fault", "24:24V Power Fail",
        "rr:Motor Running",   "UA:Valve Fault",     "Ht:T/stat tripped", "CA:Control Fault",
        "rP:Relay Parity"};
    return entries;
}

int functionRegister(int contact, int perGroup) {
    return kFirstGroupRegister + (contact / perGroup) * kGroupStride + contact % perGroup;
}

std::string contactName(int contact) {
    return "S" + std::to_string(contact + 1);
}

}  // namespace

CConfTab3::CConfTab3(shell::Context& context) : ConfigPage(context, kContacts, PageRules{}) {
    // Each contact takes two lines of a two-column grid: its name with its NO/NC
    // button under it, and beside them its function list over its value list. Two
    // columns leave the function list room for its longest texts.
    section({}, 2);
    for (Row& row : rows_) {
        row.label = &addLabel({});
        row.label->bold = true;
        row.function = &addComboBox({});
        row.kind = &addTwoStateButton(kNormallyOpen, kNormallyClosed, nullptr);
        row.value = &addComboBox({});
    }
    for (int contact = 0; contact < kContactCount; ++contact) {
        const Row& row = rows_[contact % kRows];
        const int function = functionRegister(contact, kRows);
        const int value = function + kValueDistance;
        auto& list =
            field<ListField>(*row.function, regBits(function, kFunctionBits), defaultOf(function));
        list.entries = functionEntries();
        auto& kind = field<ToggleField>(*row.kind, regBits(function, kNormallyClosedBit),
                                        defaultOf(function));
        auto& number = field<ListField>(*row.value, regBits(value), defaultOf(value));
        number.entries = numberEntries(kLowestValue, kHighestValue);
        number.offset = kLowestValue;
        contactFields_[contact] = {&list, &kind, &number};
    }

    section({}, 3);
    addSendButton();
    addViewButton();
    groupButton_ =
        &addTwoStateButton(kGroupCaptions[0], kGroupCaptions[1], [this] { switchGroup(); });
    addHelpButton();
    selectGroup(0);
}

void CConfTab3::setUp() {
    selectGroup(0);
    ConfigPage::setUp();
}

void CConfTab3::selectGroup(int group) {
    group_ = group;
    groupButton_->caption = kGroupCaptions[group];
    for (int contact = 0; contact < kContactCount; ++contact)
        for (Field* field : contactFields_[contact])
            field->active = contact / kRows == group;
    for (int i = 0; i < kRows; ++i) {
        const std::string name = contactName(group * kRows + i);
        Row& row = rows_[i];
        row.label->text = name;
        row.function->id = name + " function";
        row.kind->id = name + " NO/NC";
        row.value->id = name + " value";
    }
}

void CConfTab3::showGroup(int group) {
    selectGroup(group);
    fillLists();
    load();
}

void CConfTab3::switchGroup() {
    // The button has swapped its caption: it names the group to show.
    showGroup(groupButton_->isSecond() ? 1 : 0);
}

void CConfTab3::showView(int view) {
    if (view != group_) showGroup(view);
}

image::FrameSequence CConfTab3::frames() const {
    using namespace image::frames;
    // Both groups, bytes 44 to 59, straight from the image: the page owns every bit
    // of them, so nothing is read first. Three bytes a frame, the last byte alone.
    constexpr int kBytesPerWrite = 3;
    image::FrameSequence steps = {unlock()};
    for (int reg = kFirstGroupRegister; reg + kBytesPerWrite <= kLastContactRegister;
         reg += kBytesPerWrite)
        steps.push_back(writeRegister(static_cast<uint8_t>(reg)));
    steps.push_back(writeRegisterByte(kLastContactRegister));
    steps.push_back(lock());
    return steps;
}

}  // namespace vantrel::pages
