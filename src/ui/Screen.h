#pragma once
// A screen: a modal dialog, or one page of a sheet. It owns its controls, lays them
// out in titled sections of rows, and never touches a widget.
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "ui/Control.h"

namespace vantrel::ui {

// A run of controls shown together: an optional frame title and a grid of columns,
// filled row by row (or column by column, for two-column indicator lists).
struct Section {
    std::string title;
    int columns = 1;
    bool columnMajor = false;
    // Buttons keep their own width instead of filling their column (a short row of
    // buttons under a wide page).
    bool buttonsAtOwnWidth = false;
    std::vector<Control*> controls;
};

class Screen {
public:
    explicit Screen(std::string title) : title_(std::move(title)) {}
    virtual ~Screen() = default;
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    // The class name of the screen (CMainMenu, ...), for logs and tests.
    virtual const char* className() const = 0;
    // Called when the screen (or sheet page) is first shown.
    virtual void setUp() {}
    // Called when a sheet brings this page to the front again after its set-up.
    virtual void broughtToFront() {}

    const std::string& title() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }

    // The names (as ui::controlName gives them) of the controls holding a value that
    // a front end marks: their values differ from a file the screen is compared with.
    std::set<std::string> markedNames;

    const std::vector<Section>& sections() const { return sections_; }
    const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }

    // Finds a control by id, else by its name (label, caption or text); nullptr if none.
    Control* find(std::string_view key) const;
    template <class T>
    T* find(std::string_view key) const {
        return dynamic_cast<T*>(find(key));
    }
    // As find, but a missing control is a programming error.
    template <class T>
    T& get(std::string_view key) const;

    // Runs a button's action as a click would: two-state buttons swap caption first.
    // Returns false when the button is missing, hidden or disabled.
    bool click(std::string_view key);

    // Held by whoever runs one of this screen's handlers (click, a front end's
    // widget signals). A handler may replace the controls, its own among them:
    // those are kept until the outermost scope ends, so the running handler, the
    // control that called it and the front end's references stay valid until then.
    class HandlerScope {
    public:
        explicit HandlerScope(Screen& screen);
        ~HandlerScope();
        HandlerScope(const HandlerScope&) = delete;
        HandlerScope& operator=(const HandlerScope&) = delete;

    private:
        Screen& screen_;
    };

    // The first visible, enabled button marked isExit; nullptr when there is none.
    Button* exitButton() const;
    // Where the keyboard starts when the screen opens: the control the screen names
    // unless it is a button that writes, else the first box or list to use, else the
    // exit button, else the first button that does not write; nullptr when none.
    Control* openingFocus() const;
    // Whether the Escape key presses the exit button. A screen whose exit ends the
    // program turns it off: leaving the program takes a deliberate click.
    bool exitsOnEscape() const { return exitsOnEscape_; }
    void setExitsOnEscape(bool exits) { exitsOnEscape_ = exits; }

    bool closed() const { return closed_; }
    void close() { closed_ = true; }
    void reopen() { closed_ = false; }

    // Keyboard focus: the id or name of the control that should have it.
    const std::string& focus() const { return focus_; }
    void setFocus(std::string key) { focus_ = std::move(key); }

    // Bumped when controls are replaced at run time; a view then rebuilds itself.
    int layoutRevision() const { return layoutRevision_; }

protected:
    // Starts a new section; later add* calls put their control into it.
    Section& section(std::string title = {}, int columns = 1, bool columnMajor = false);
    Label& addLabel(std::string text, std::string id = {});
    Button& addButton(std::string caption, std::function<void()> onClick, std::string id = {});
    Button& addTwoStateButton(std::string first, std::string second, std::function<void()> onClick,
                              std::string id = {});
    CheckBox& addCheckBox(std::string text, std::string id = {});
    RadioButton& addRadioButton(std::string text, std::string group, std::string id = {});
    ComboBox& addComboBox(std::string label, std::string id = {});
    Edit& addEdit(std::string label, std::string id = {});
    Lamp& addLamp(std::string text, std::string id = {});
    ProgressBar& addProgressBar(std::string id);
    Picture& addPicture(PictureKind kind = PictureKind::Product, std::string id = "picture");
    // The hidden help button ("QUEST") that some screens carry; it has no action.
    Button& addHelpButton();

    // Removes every control and section (for pages that rebuild their controls).
    // Inside a handler the removed controls live on until the handler returns.
    void clearControls();

private:
    template <class T>
    T& add(std::string id);

    std::string title_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::vector<std::unique_ptr<Control>> retired_;  // removed while a handler ran
    std::vector<Section> sections_;
    std::string focus_;
    bool closed_ = false;
    bool exitsOnEscape_ = true;
    int layoutRevision_ = 0;
    int handlerDepth_ = 0;
};

template <class T>
T& Screen::get(std::string_view key) const {
    T* control = find<T>(key);
    if (!control) throw std::logic_error("no control " + std::string(key) + " on " + title_);
    return *control;
}

}  // namespace vantrel::ui
