#pragma once
// Renders any ui::Screen as widgets: one group box per titled section, a grid of the
// section's columns, one widget per control made by the binder of its kind. Edits
// flow into the models at once; after every handler all open panels re-sync their
// widgets from their models, and a panel whose screen replaced its controls rebuilds
// itself.
#include <QWidget>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "binders/Binder.h"
#include "ui/Screen.h"

class QButtonGroup;
class QLabel;
class QVBoxLayout;

namespace vantrel::qt {

// A control whose value differs from a file the screen is compared with carries
// this widget property, set, and is shown with this style.
inline constexpr const char* kMarkedProperty = "vantrelMarked";
inline constexpr const char* kMarkedStyle = "background-color: #ffd966;";

class ScreenPanel : public QWidget, private BinderHost {
    Q_OBJECT
public:
    explicit ScreenPanel(ui::Screen& screen, QWidget* parent = nullptr);
    ~ScreenPanel() override;

    ui::Screen& screen() override { return screen_; }
    ui::Screen& screen() const { return screen_; }

    // Model to widgets; rebuilds first when the screen's layout revision changed.
    void sync();
    // Moves keyboard focus to the control the screen names, if any.
    void applyFocus();
    // Gives the focus to the control the screen opens on (ui::Screen::openingFocus).
    void applyOpeningFocus();
    // Presses a button as a click on its widget does: its handler runs, then every
    // open panel re-syncs. A hidden or disabled button does nothing.
    void press(ui::Button& button);

    // The widget that shows a control (for a labelled edit or list: the field).
    QWidget* widgetFor(const ui::Control* control) const;
    QWidget* widgetFor(std::string_view key) const { return widgetFor(screen_.find(key)); }
    // True while one of this panel's handlers runs (it may be showing a nested dialog).
    bool handlerRunning() const { return handlerDepth_ > 0; }

    // Re-syncs every panel that is open, in every dialog, and the status bars.
    static void syncAllOpen();
    // While an operation runs, every open panel shows its input widgets disabled;
    // afterwards each shows again what its model says.
    static void blockAllInput(bool blocked);
    bool inputBlocked() const { return inputBlocked_; }

protected:
    // Enter on a focused button presses it, as Space does.
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // A handler of this panel has run and every open panel has been re-synced.
    void handlerFinished();
    // The controls were replaced and the widgets built anew.
    void rebuilt();

private:
    struct Binding {
        ui::Control* control;
        std::unique_ptr<ControlBinder> binder;
        QWidget* cell;  // what sits in the grid (the widget or its container)
        QLabel* label;  // the label beside a list or edit; may be null
        int section;
    };

    // BinderHost
    QWidget* container() override { return content_; }
    QObject* receiver() override { return this; }
    Runner runner(After after) override;
    QButtonGroup* radioGroup(const std::string& name) override;
    QObject* keyFilter() override { return this; }
    char mnemonic(const ui::Control& control) const override;

    void build();
    void buildSection(const ui::Section& section, int sectionIndex, QVBoxLayout* into);
    Binding makeBinding(ui::Control& control, int sectionIndex);
    void syncBinding(const Binding& binding, bool marked);
    void syncRadioGroups();

    // Runs a handler that a widget of generation `generation` asked for, then
    // re-syncs; a request from widgets of an earlier build is dropped.
    void runHandler(int generation, const std::function<void()>& handler, After after);

    ui::Screen& screen_;
    QVBoxLayout* outer_;
    QWidget* content_ = nullptr;
    std::vector<Binding> bindings_;
    std::vector<QWidget*> sectionBoxes_;
    std::map<std::string, QButtonGroup*> radioGroups_;
    std::map<const ui::Control*, char> mnemonics_;
    int builtRevision_ = -1;
    int generation_ = 0;
    int handlerDepth_ = 0;
    bool inputBlocked_ = false;
};

}  // namespace vantrel::qt
