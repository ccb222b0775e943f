#pragma once
// A field of a page: some bits of the configuration image, the control that shows
// them and how a value maps to what the control shows. Loading shows the stored
// value (from the default copy in the Default view); taking stores the control's
// value into the field's own bits only. A stored value that the control cannot show
// selects nothing, and nothing selected keeps the stored value. A field whose bytes
// the image does not hold shows nothing, is disabled and is never taken.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "image/ConfigImage.h"
#include "ui/Control.h"

namespace vantrel::pages {

// The image byte of a register address.
constexpr int reg(int registerAddress) {
    return image::kConfigBase + registerAddress;
}
// The default copy of a current-configuration register (42..67) lies 43 above it.
inline constexpr int kDefaultCopyDistance = 43;
constexpr int defaultOf(int registerAddress) {
    return reg(registerAddress + kDefaultCopyDistance);
}

// Bits of the image: `bytes` consecutive bytes from `offset`, little-endian, of
// which the bits of `mask` belong to the field. Values are shifted down to bit 0.
struct Bits {
    int offset = 0;
    uint32_t mask = 0xFF;
    int bytes = 1;

    uint32_t read(const image::ConfigImage& image, int at) const;
    void write(image::ConfigImage& image, uint32_t value) const;
};

// Bits at a register address.
inline Bits regBits(int registerAddress, uint32_t mask = 0xFF) {
    return Bits{reg(registerAddress), mask, 1};
}

class Field {
public:
    Field(Bits bits, std::optional<int> defaultOffset)
        : bits_(bits), defaultOffset_(defaultOffset) {}
    virtual ~Field() = default;

    virtual ui::Control& control() = 0;
    // Empties and refills what the control offers (lists), for the view shown.
    virtual void fill(bool defaultView) { (void)defaultView; }
    virtual void load(const image::ConfigImage& image, bool defaultView) = 0;
    virtual void take(image::ConfigImage& image) = 0;
    // A message when the control holds a value that must not be taken; nothing when
    // it may be taken.
    virtual std::optional<std::string> refusal() const { return std::nullopt; }

    const Bits& bits() const { return bits_; }
    // An image byte the field's value lives in, with the bits of it that are the field's.
    struct HeldByte {
        int offset;
        uint8_t mask;
    };
    // The bytes of the current copy that hold the value, lowest first.
    virtual std::vector<HeldByte> heldBytes() const;
    // count whole bytes from offset: the bytes of a text, which no mask describes.
    static std::vector<HeldByte> wholeBytes(int offset, int count);
    bool hasDefaultCopy() const { return defaultOffset_.has_value(); }
    // The stored value shown in a view: the default copy's when there is one.
    uint32_t stored(const image::ConfigImage& image, bool defaultView) const;
    // The image byte where the value shown in a view begins.
    int shownOffset(bool defaultView) const {
        return defaultView && defaultOffset_ ? *defaultOffset_ : bits_.offset;
    }
    // Empties and disables the control, for a value the image does not hold.
    virtual void blank();
    // Filled, loaded, enabled and taken by the page.
    bool inUse() const { return active && held; }

    // The login level below which the control stays disabled (0: any).
    uint8_t minimumLevel = 0;
    // Enabled in the Default view too (controls that edit no default copy's value).
    bool enabledInDefaultView = false;
    // A field whose control shows another field for now (a contact of the group not
    // shown) is left out of filling, loading, enabling and taking.
    bool active = true;
    // The image holds every byte of the value shown (the page keeps this up to date).
    bool held = true;

protected:
    Bits bits_;
    std::optional<int> defaultOffset_;
};

// A two-state button: value 0 shows captions[0], 1 captions[1].
class ToggleField : public Field {
public:
    ToggleField(ui::Button& button, Bits bits, std::optional<int> defaultOffset)
        : Field(bits, defaultOffset), button_(button) {}
    ui::Control& control() override { return button_; }
    void load(const image::ConfigImage& image, bool defaultView) override;
    void take(image::ConfigImage& image) override;
    void blank() override;

    // The caption shown in the Default view when the field has no default copy.
    std::optional<std::string> defaultCaption;

private:
    ui::Button& button_;
};

class CheckField : public Field {
public:
    CheckField(ui::CheckBox& box, Bits bits, std::optional<int> defaultOffset)
        : Field(bits, defaultOffset), box_(box) {}
    ui::Control& control() override { return box_; }
    void load(const image::ConfigImage& image, bool defaultView) override;
    void take(image::ConfigImage& image) override;
    void blank() override;

private:
    ui::CheckBox& box_;
};

// A drop-down list. By default the value is the entry's position plus `offset`;
// entryOf and valueOf replace that mapping where a page needs more.
class ListField : public Field {
public:
    ListField(ui::ComboBox& list, Bits bits, std::optional<int> defaultOffset)
        : Field(bits, defaultOffset), list_(list) {}
    ui::Control& control() override { return list_; }
    void fill(bool defaultView) override;
    void load(const image::ConfigImage& image, bool defaultView) override;
    void take(image::ConfigImage& image) override;
    void blank() override;

    std::vector<std::string> entries;
    int offset = 0;
    // Entry of a stored value (-1: none); by default value - offset.
    std::function<int(uint32_t value)> entryOf;
    // Value to store for an entry, given the stored value; nothing keeps the stored
    // value. By default entry + offset.
    std::function<std::optional<uint32_t>(int entry, uint32_t stored)> valueOf;
    // In the Default view of a field without a default copy: the entry shown, or the
    // entries the list holds instead (the first selected).
    std::optional<int> defaultEntry;
    std::optional<std::vector<std::string>> defaultEntries;

private:
    int entryFor(uint32_t value) const;
    ui::ComboBox& list_;
};

// Radio buttons of one group, each storing its own value.
class ChoiceField : public Field {
public:
    ChoiceField(std::vector<ui::RadioButton*> choices, std::vector<uint32_t> values, Bits bits,
                std::optional<int> defaultOffset)
        : Field(bits, defaultOffset), choices_(std::move(choices)), values_(std::move(values)) {}
    ui::Control& control() override { return *choices_.front(); }
    void load(const image::ConfigImage& image, bool defaultView) override;
    void take(image::ConfigImage& image) override;
    void blank() override;
    const std::vector<ui::RadioButton*>& choices() const { return choices_; }

    // The choice shown for a value that no choice stores (-1: none).
    int fallbackChoice = -1;

private:
    std::vector<ui::RadioButton*> choices_;
    std::vector<uint32_t> values_;
};

}  // namespace vantrel::pages
