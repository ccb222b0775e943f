#include "pages/Field.h"

#include <bit>
#include <charconv>
#include <cmath>

namespace vantrel::pages {

namespace {
// A mask describes at most the four bytes of a 32-bit value; bytes beyond them (a
// text's) are no value's.
constexpr int kMaskBytes = sizeof(uint32_t);
}  // namespace

uint32_t Bits::read(const image::ConfigImage& image, int at) const {
    uint32_t whole = 0;
    for (int i = 0; i < bytes && i < kMaskBytes; ++i)
        whole |= static_cast<uint32_t>(image.bytes[at + i]) << (8 * i);
    return (whole & mask) >> std::countr_zero(mask);
}

void Bits::write(image::ConfigImage& image, uint32_t value) const {
    uint32_t whole = 0;
    for (int i = 0; i < bytes && i < kMaskBytes; ++i)
        whole |= static_cast<uint32_t>(image.bytes[offset + i]) << (8 * i);
    whole = (whole & ~mask) | ((value << std::countr_zero(mask)) & mask);
    for (int i = 0; i < bytes && i < kMaskBytes; ++i)
        image.bytes[offset + i] = static_cast<uint8_t>(whole >> (8 * i));
}

std::vector<Field::HeldByte> Field::heldBytes() const {
    constexpr uint32_t kByteMask = 0xFF;
    std::vector<HeldByte> held;
    for (int i = 0; i < bits_.bytes && i < kMaskBytes; ++i)
        if (const auto mask = static_cast<uint8_t>((bits_.mask >> (8 * i)) & kByteMask))
            held.push_back({bits_.offset + i, mask});
    return held;
}

std::vector<Field::HeldByte> Field::wholeBytes(int offset, int count) {
    constexpr uint8_t kWholeByte = 0xFF;
    std::vector<HeldByte> held;
    for (int i = 0; i < count; ++i)
        held.push_back({offset + i, kWholeByte});
    return held;
}

uint32_t Field::stored(const image::ConfigImage& image, bool defaultView) const {
    const int at = defaultView && defaultOffset_ ? *defaultOffset_ : bits_.offset;
    return bits_.read(image, at);
}

void Field::blank() {
    if (auto* edit = dynamic_cast<ui::Edit*>(&control())) edit->text.clear();
    control().enabled = false;
}

void ToggleField::blank() {
    button_.caption.clear();
    button_.enabled = false;
}

void CheckField::blank() {
    box_.checked = false;
    box_.enabled = false;
}

void ListField::blank() {
    list_.clear();
    list_.enabled = false;
}

void ChoiceField::blank() {
    for (ui::RadioButton* choice : choices_) {
        choice->checked = false;
        choice->enabled = false;
    }
}

void ToggleField::load(const image::ConfigImage& image, bool defaultView) {
    if (defaultView && !hasDefaultCopy() && defaultCaption) {
        button_.caption = *defaultCaption;
        return;
    }
    button_.caption = button_.captions[stored(image, defaultView) ? 1 : 0];
}

void ToggleField::take(image::ConfigImage& image) {
    bits_.write(image, button_.isSecond() ? 1 : 0);
}

void CheckField::load(const image::ConfigImage& image, bool defaultView) {
    box_.checked = stored(image, defaultView) != 0;
}

void CheckField::take(image::ConfigImage& image) {
    bits_.write(image, box_.checked ? 1 : 0);
}

void ListField::fill(bool defaultView) {
    list_.assign(defaultView && !hasDefaultCopy() && defaultEntries ? *defaultEntries : entries);
}

int ListField::entryFor(uint32_t value) const {
    const int entry = entryOf ? entryOf(value) : static_cast<int>(value) - offset;
    return entry >= 0 && entry < list_.count() ? entry : -1;
}

void ListField::load(const image::ConfigImage& image, bool defaultView) {
    if (defaultView && !hasDefaultCopy()) {
        if (defaultEntries) {
            list_.selected = list_.count() == 0 ? -1 : 0;
            return;
        }
        if (defaultEntry) {
            list_.selected = *defaultEntry;
            return;
        }
    }
    list_.selected = entryFor(stored(image, defaultView));
}

void ListField::take(image::ConfigImage& image) {
    if (list_.selected < 0) return;  // nothing selected: the stored value stays
    const uint32_t current = bits_.read(image, bits_.offset);
    const std::optional<uint32_t> value =
        valueOf ? valueOf(list_.selected, current)
                : std::optional<uint32_t>(static_cast<uint32_t>(list_.selected + offset));
    if (value) bits_.write(image, *value);
}

void ChoiceField::load(const image::ConfigImage& image, bool defaultView) {
    const uint32_t value = stored(image, defaultView);
    int chosen = fallbackChoice;
    for (std::size_t i = 0; i < values_.size(); ++i)
        if (values_[i] == value) {
            chosen = static_cast<int>(i);
            break;
        }
    for (std::size_t i = 0; i < choices_.size(); ++i)
        choices_[i]->checked = static_cast<int>(i) == chosen;
}

void ChoiceField::take(image::ConfigImage& image) {
    for (std::size_t i = 0; i < choices_.size(); ++i)
        if (choices_[i]->checked) {
            bits_.write(image, values_[i]);
            return;
        }
}

}  // namespace vantrel::pages
