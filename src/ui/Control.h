#pragma once
// Toolkit-free control models. A screen holds these and their handlers; a front end
// (Qt, the command line, the tests) shows them and feeds user actions back.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vantrel::ui {

enum class ControlKind {
    Label,
    Button,
    CheckBox,
    RadioButton,
    ComboBox,
    Edit,
    Lamp,
    ProgressBar,
    Picture
};

struct Control {
    explicit Control(ControlKind k) : kind(k) {}
    virtual ~Control() = default;
    // The text a user knows the control by: its label, caption or text.
    virtual const std::string& name() const = 0;

    const ControlKind kind;
    std::string id;  // stable id where the same text appears twice; may be empty
    bool enabled = true;
    bool visible = true;
};

struct Label : Control {
    Label() : Control(ControlKind::Label) {}
    const std::string& name() const override { return text; }
    std::string text;
    bool bold = false;
    bool centred = false;
};

// A push button. A two-state button swaps its caption between captions[0] and
// captions[1] when pressed, before onClick runs; the caption is its setting.
struct Button : Control {
    Button() : Control(ControlKind::Button) {}
    const std::string& name() const override { return caption; }
    std::string caption;
    std::function<void()> onClick;
    bool twoState = false;
    bool isDefault = false;  // pressed by the Enter key
    // Leaves the screen the way its user would ("EXIT", "BACK"); a front end presses
    // it when the window is closed or Escape is pressed.
    bool isExit = false;
    // Writes to the actuator or changes data at once: such a button never takes the
    // focus or the Enter key when its screen opens, and a front end pressing it on a
    // user's behalf can tell a press that wrote nothing (a question answered No).
    bool writes = false;
    // A two-state button's two captions; a button whose handler changes its caption
    // lists the captions it shows here too, so its Alt key stays the same.
    std::string captions[2];
    void toggleCaption() { caption = caption == captions[0] ? captions[1] : captions[0]; }
    // Runs the action as a click does: a two-state button swaps its caption first.
    // A hidden or disabled button does nothing and gives false.
    bool press();
    bool isSecond() const { return caption == captions[1]; }
};

struct CheckBox : Control {
    CheckBox() : Control(ControlKind::CheckBox) {}
    const std::string& name() const override { return text; }
    std::string text;
    bool checked = false;
    std::function<void()> onChange;
};

// Radio buttons with the same group name form one group with exactly one choice.
struct RadioButton : Control {
    RadioButton() : Control(ControlKind::RadioButton) {}
    const std::string& name() const override { return text; }
    std::string text;
    std::string group;
    bool checked = false;
    std::function<void()> onChange;
};

// A drop-down list. Its entries change only through clear, add and assign, which
// count the changes, so that a view refills its list only when the entries changed.
struct ComboBox : Control {
    ComboBox() : Control(ControlKind::ComboBox) {}
    const std::string& name() const override { return label; }
    std::string label;  // the text shown beside it
    int selected = -1;  // -1: nothing selected
    std::function<void()> onChange;

    const std::vector<std::string>& entries() const { return entries_; }
    int count() const { return static_cast<int>(entries_.size()); }
    // Empties the list; nothing is selected.
    void clear();
    void add(std::string entry);
    // Replaces the entries; nothing is selected.
    void assign(std::vector<std::string> entries);
    // Changes with every clear, add and assign.
    uint64_t entriesRevision() const { return revision_; }

    const std::string& selectedText() const;
    // Selects the entry with this text; false when there is none.
    bool select(const std::string& text);

private:
    std::vector<std::string> entries_;
    uint64_t revision_ = 0;
};

// The values a numeric edit box takes: minimum to maximum, with at most `decimals`
// digits after the point.
struct NumericRange {
    double minimum;
    double maximum;
    int decimals;
};

struct Edit : Control {
    Edit() : Control(ControlKind::Edit) {}
    const std::string& name() const override { return label; }
    std::string label;  // the text shown beside it; may be empty
    std::string text;   // 8-bit text, one byte one character (ISO-8859-1)
    int maxLength = 0;  // 0: no limit
    bool masked = false;
    bool multiLine = false;
    bool readOnly = false;
    bool centred = false;
    std::optional<NumericRange> numeric;  // set: a box for a number of this range
    std::function<void()> onChange;

    // The number the text holds, read the same in every locale ("12.5", spaces
    // around it allowed); nothing when the text is not such a number, has more
    // decimals than the range allows, or lies outside the range.
    std::optional<double> number() const;
    // Shows value with the range's decimals (none without a range), rounded.
    void setNumber(double value);
};

// An indicator lamp: lit or clear, never changed by the user.
struct Lamp : Control {
    Lamp() : Control(ControlKind::Lamp) {}
    const std::string& name() const override { return text; }
    std::string text;
    bool lit = false;
};

struct ProgressBar : Control {
    ProgressBar() : Control(ControlKind::ProgressBar) {}
    const std::string& name() const override { return id; }
    int minimum = 0;
    int maximum = 100;
    int value = 0;
};

enum class PictureKind { Product, AppIcon };

struct Picture : Control {
    Picture() : Control(ControlKind::Picture) {}
    const std::string& name() const override { return id; }
    PictureKind picture = PictureKind::Product;
};

}  // namespace vantrel::ui
