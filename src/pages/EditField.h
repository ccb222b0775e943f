#pragma once
// An edit box bound to a field. Only what was typed is judged: a box whose text is
// still what loading showed keeps its stored value, whatever that value is, and is
// never refused, so a stored value the box would not accept blocks nothing.
#include <optional>
#include <string>

#include "pages/Field.h"

namespace vantrel::pages {

class EditField : public Field {
public:
    EditField(ui::Edit& edit, Bits bits, std::optional<int> defaultOffset)
        : Field(bits, defaultOffset), edit_(edit) {}
    ui::Control& control() override { return edit_; }
    void load(const image::ConfigImage& image, bool defaultView) final {
        edit_.text = shown_ = textOf(image, defaultView);
    }
    void take(image::ConfigImage& image) final {
        if (touched()) store(image);
    }
    std::optional<std::string> refusal() const final { return touched() ? judge() : std::nullopt; }
    void blank() override {
        edit_.text = shown_ = {};
        edit_.enabled = false;
    }

protected:
    // The text the box shows for the stored value.
    virtual std::string textOf(const image::ConfigImage& image, bool defaultView) const = 0;
    // Stores what was typed (called only for a box whose text changed).
    virtual void store(image::ConfigImage& image) = 0;
    // A message when what was typed must not be taken.
    virtual std::optional<std::string> judge() const { return std::nullopt; }

    bool touched() const { return edit_.text != shown_; }
    const std::string& typed() const { return edit_.text; }
    const std::string& label() const { return edit_.name(); }

private:
    ui::Edit& edit_;
    std::string shown_;
};

}  // namespace vantrel::pages
