#include "ScreenPanel.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <cctype>
#include <set>

#include "InputGate.h"
#include "StatusBar.h"
#include "TextCodec.h"
#include "ui/ScreenDriver.h"

namespace vantrel::qt {
namespace {

std::vector<ScreenPanel*>& openPanels() {
    static std::vector<ScreenPanel*> panels;
    return panels;
}

// Controls the user acts on; the others (texts, lamps, bars, pictures) stay as they
// are while an operation runs.
bool takesInput(const ui::Control& control) {
    switch (control.kind) {
        case ui::ControlKind::Button:
        case ui::ControlKind::CheckBox:
        case ui::ControlKind::RadioButton:
        case ui::ControlKind::ComboBox:
            return true;
        case ui::ControlKind::Edit:
            return !static_cast<const ui::Edit&>(control).readOnly;
        default:
            return false;
    }
}

// Whether every caption a button shows holds the letter, so its Alt key never goes.
bool inEveryCaption(const ui::Button& button, char letter) {
    auto holds = [letter](const std::string& text) {
        return text.empty() || std::any_of(text.begin(), text.end(), [letter](char c) {
                   return std::tolower(static_cast<unsigned char>(c)) == letter;
               });
    };
    return holds(button.captions[0]) && holds(button.captions[1]);
}

// One Alt shortcut letter per button, none used twice: the first letter of a word
// where it is free, else any free letter or digit of the caption; a letter that all
// of the button's captions hold.
std::map<const ui::Control*, char> assignMnemonics(const ui::Screen& screen) {
    std::map<const ui::Control*, char> letters;
    std::string used;
    auto take = [&](const ui::Button* control, const std::string& caption, bool wordStarts) {
        for (size_t i = 0; i < caption.size(); ++i) {
            const auto c = static_cast<unsigned char>(caption[i]);
            if (c >= 0x80 || !std::isalnum(c)) continue;
            if (wordStarts && i > 0 && std::isalnum(static_cast<unsigned char>(caption[i - 1])))
                continue;
            const char letter = static_cast<char>(std::tolower(c));
            if (used.find(letter) != std::string::npos) continue;
            if (!inEveryCaption(*control, letter)) continue;
            used += letter;
            letters[control] = letter;
            return true;
        }
        return false;
    };
    std::vector<const ui::Button*> buttons;
    for (const auto& control : screen.controls())
        if (control->kind == ui::ControlKind::Button)
            buttons.push_back(static_cast<const ui::Button*>(control.get()));
    std::vector<const ui::Button*> rest;
    for (const ui::Button* button : buttons)
        if (!take(button, button->caption, true)) rest.push_back(button);
    for (const ui::Button* button : rest)
        take(button, button->caption, false);
    return letters;
}

QString keyOf(const ui::Control& control) {
    return fromLatin1(control.id.empty() ? control.name() : control.id);
}

}  // namespace

ScreenPanel::ScreenPanel(ui::Screen& screen, QWidget* parent) : QWidget(parent), screen_(screen) {
    outer_ = new QVBoxLayout(this);
    outer_->setContentsMargins(0, 0, 0, 0);
    openPanels().push_back(this);
    build();
    sync();
}

ScreenPanel::~ScreenPanel() {
    std::erase(openPanels(), this);
}

void ScreenPanel::syncAllOpen() {
    auto panels = openPanels();
    for (ScreenPanel* panel : panels)
        if (std::find(openPanels().begin(), openPanels().end(), panel) != openPanels().end())
            panel->sync();
    StatusBar::syncAll();
}

void ScreenPanel::blockAllInput(bool blocked) {
    for (ScreenPanel* panel : openPanels()) {
        panel->inputBlocked_ = blocked;
        panel->sync();
        // An operation may not return to the event loop before it ends: show it now.
        if (panel->isVisible()) panel->repaint();
    }
}

void ScreenPanel::build() {
    // The old widgets may be the sender of the signal that got us here: let them go
    // once control returns to the event loop, and make their requests stale now.
    ++generation_;
    if (content_) {
        content_->hide();
        outer_->removeWidget(content_);
        content_->deleteLater();
    }
    bindings_.clear();
    sectionBoxes_.clear();
    radioGroups_.clear();
    mnemonics_ = assignMnemonics(screen_);

    content_ = new QWidget(this);
    auto* column = new QVBoxLayout(content_);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(8);
    const auto& sections = screen_.sections();
    for (int i = 0; i < static_cast<int>(sections.size()); ++i)
        buildSection(sections[i], i, column);
    column->addStretch(1);
    outer_->addWidget(content_);
    builtRevision_ = screen_.layoutRevision();
}

void ScreenPanel::buildSection(const ui::Section& section, int sectionIndex, QVBoxLayout* into) {
    QWidget* box = section.title.empty() ? new QWidget(content_)
                                         : new QGroupBox(fromLatin1(section.title), content_);
    auto* grid = new QGridLayout(box);
    if (section.title.empty()) grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);

    // Each column of the section takes two grid columns: a label and its field.
    const int columns = std::max(1, section.columns);
    const int count = static_cast<int>(section.controls.size());
    const int rows = (count + columns - 1) / columns;
    for (int i = 0; i < count; ++i) {
        int row = section.columnMajor ? i % rows : i / columns;
        int column = section.columnMajor ? i / rows : i % columns;
        Binding binding = makeBinding(*section.controls[i], sectionIndex);
        Qt::Alignment alignment = binding.binder->cellAlignment();
        if (section.buttonsAtOwnWidth && binding.control->kind == ui::ControlKind::Button)
            alignment |= Qt::AlignLeft;
        if (binding.label) {
            grid->addWidget(binding.label, row, column * 2);
            grid->addWidget(binding.cell, row, column * 2 + 1, alignment);
        } else {
            grid->addWidget(binding.cell, row, column * 2, 1, 2, alignment);
        }
        bindings_.push_back(std::move(binding));
    }
    for (int column = 0; column < columns; ++column)
        grid->setColumnStretch(column * 2 + 1, 1);
    sectionBoxes_.push_back(box);
    into->addWidget(box);
}

ScreenPanel::Binding ScreenPanel::makeBinding(ui::Control& control, int sectionIndex) {
    Binding binding{&control, bindControl(control, *this), nullptr, nullptr, sectionIndex};
    QWidget* widget = binding.binder->widget();
    widget->setObjectName(keyOf(control));
    binding.cell = widget;

    // Lists and edits carry their label; a multi-line edit has it above, the
    // others beside.
    const std::string labelText = binding.binder->labelText();
    if (!labelText.empty()) {
        auto* label = new QLabel(fromLatin1(labelText), content_);
        label->setTextFormat(Qt::PlainText);
        label->setBuddy(widget);
        if (binding.binder->labelAbove()) {
            auto* cell = new QWidget(content_);
            auto* stack = new QVBoxLayout(cell);
            stack->setContentsMargins(0, 0, 0, 0);
            stack->setSpacing(2);
            label->setParent(cell);
            stack->addWidget(label);
            stack->addWidget(widget);
            binding.cell = cell;
        } else {
            binding.label = label;
        }
    }
    return binding;
}

BinderHost::Runner ScreenPanel::runner(After after) {
    return [this, generation = generation_, after](const std::function<void()>& handler) {
        runHandler(generation, handler, after);
    };
}

QButtonGroup* ScreenPanel::radioGroup(const std::string& name) {
    QButtonGroup*& group = radioGroups_[name];
    if (!group) group = new QButtonGroup(content_);
    return group;
}

bool ScreenPanel::eventFilter(QObject* watched, QEvent* event) {
    // The buttons are not auto-default, so that Enter in a box never presses the
    // first button of a screen; Enter on the button that has the focus does.
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            if (auto* button = qobject_cast<QPushButton*>(watched); button && button->isEnabled()) {
                button->click();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ScreenPanel::press(ui::Button& button) {
    runHandler(
        generation_, [&] { button.press(); }, After::Focus);
}

void ScreenPanel::runHandler(int generation, const std::function<void()>& handler, After after) {
    if (generation != generation_) return;
    {
        // Controls the handler replaces stay alive until the views have let go of them.
        ui::Screen::HandlerScope scope(screen_);
        ++handlerDepth_;
        handler();
        --handlerDepth_;
        // Clicks and keys that came while the handler ran were meant for a screen that
        // was busy: they go before the widgets take input again.
        if (after != After::Nothing) discardQueuedInput();
        syncAllOpen();
    }
    if (after == After::Focus) applyFocus();
    emit handlerFinished();
}

void ScreenPanel::sync() {
    if (builtRevision_ != screen_.layoutRevision()) {
        build();
        emit rebuilt();
    }
    // The controls whose values differ from a file the screen is compared with.
    std::set<const ui::Control*> marked;
    if (!screen_.markedNames.empty())
        for (const ui::ShownValue& shown : ui::shownValues(screen_))
            if (screen_.markedNames.count(shown.name)) marked.insert(shown.control);
    for (const Binding& binding : bindings_)
        syncBinding(binding, marked.count(binding.control) > 0);
    syncRadioGroups();
    for (int i = 0; i < static_cast<int>(sectionBoxes_.size()); ++i) {
        bool anyVisible = std::any_of(bindings_.begin(), bindings_.end(), [i](const Binding& b) {
            return b.section == i && b.control->visible;
        });
        sectionBoxes_[i]->setVisible(anyVisible);
    }
}

void ScreenPanel::syncBinding(const Binding& binding, bool marked) {
    const ui::Control& control = *binding.control;
    QWidget* widget = binding.binder->widget();
    {
        QSignalBlocker blocker(widget);
        binding.binder->sync();
    }
    if (widget->property(kMarkedProperty).toBool() != marked) {
        widget->setProperty(kMarkedProperty, marked);
        widget->setStyleSheet(marked ? QString::fromLatin1(kMarkedStyle) : QString());
    }
    widget->setEnabled(control.enabled && !(inputBlocked_ && takesInput(control)));
    binding.cell->setVisible(control.visible);
    if (binding.label) {
        binding.label->setEnabled(control.enabled);
        binding.label->setVisible(control.visible);
    }
}

void ScreenPanel::syncRadioGroups() {
    for (auto& [name, group] : radioGroups_) {
        QSignalBlocker groupBlocker(group);
        std::vector<QSignalBlocker> blockers;
        QAbstractButton* chosen = nullptr;
        for (const Binding& binding : bindings_) {
            auto* model = dynamic_cast<ui::RadioButton*>(binding.control);
            if (!model || model->group != name) continue;
            QWidget* widget = binding.binder->widget();
            blockers.emplace_back(widget);
            if (model->checked && !chosen) chosen = static_cast<QAbstractButton*>(widget);
        }
        // An exclusive group cannot show "nothing chosen" on its own.
        group->setExclusive(false);
        for (QAbstractButton* button : group->buttons())
            button->setChecked(button == chosen);
        group->setExclusive(true);
    }
}

char ScreenPanel::mnemonic(const ui::Control& control) const {
    auto found = mnemonics_.find(&control);
    return found == mnemonics_.end() ? 0 : found->second;
}

void ScreenPanel::applyOpeningFocus() {
    if (QWidget* widget = widgetFor(screen_.openingFocus()); widget && widget->isEnabled())
        widget->setFocus(Qt::TabFocusReason);
}

void ScreenPanel::applyFocus() {
    const std::string& key = screen_.focus();
    if (key.empty()) return;
    if (QWidget* widget = widgetFor(key); widget && widget->isEnabled())
        widget->setFocus(Qt::OtherFocusReason);
}

QWidget* ScreenPanel::widgetFor(const ui::Control* control) const {
    if (!control) return nullptr;
    for (const Binding& binding : bindings_)
        if (binding.control == control) return binding.binder->widget();
    return nullptr;
}

}  // namespace vantrel::qt
