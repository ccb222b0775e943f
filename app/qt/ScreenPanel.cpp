#include "ScreenPanel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTextOption>
#include <QVBoxLayout>
#include <algorithm>

#include "Artwork.h"
#include "LampIndicator.h"
#include "TextCodec.h"

namespace vantrel::qt {
namespace {

constexpr int kButtonMinimumHeight = 30;
constexpr int kMultiLineRows = 4;
constexpr int kAppIconPictureSize = 64;
constexpr int kNoLengthLimit = 32767;  // QLineEdit's own maximum
constexpr int kWidestEditChars = 8;    // beyond this a box may show a part only

std::vector<ScreenPanel*>& openPanels() {
    static std::vector<ScreenPanel*> panels;
    return panels;
}

// A caption for a push button: '&' would otherwise mark a shortcut letter.
QString buttonText(const std::string& caption) {
    return fromLatin1(caption).replace(QLatin1Char('&'), QLatin1String("&&"));
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
        Qt::Alignment alignment =
            binding.control->kind == ui::ControlKind::Picture ? Qt::AlignHCenter : Qt::Alignment();
        if (binding.label) {
            grid->addWidget(binding.label, row, column * 2);
            grid->addWidget(binding.cell, row, column * 2 + 1, alignment);
        } else {
            grid->addWidget(binding.cell, row, column * 2, 1, 2, alignment);
        }
        bindings_.push_back(binding);
    }
    for (int column = 0; column < columns; ++column)
        grid->setColumnStretch(column * 2 + 1, 1);
    sectionBoxes_.push_back(box);
    into->addWidget(box);
}

ScreenPanel::Binding ScreenPanel::makeBinding(ui::Control& control, int sectionIndex) {
    Binding binding{&control, nullptr, nullptr, nullptr, sectionIndex};
    switch (control.kind) {
        case ui::ControlKind::Label: {
            auto* label = new QLabel(content_);
            label->setTextFormat(Qt::PlainText);
            label->setWordWrap(true);
            binding.widget = label;
            break;
        }
        case ui::ControlKind::Button:
            binding.widget = makeButton(static_cast<ui::Button&>(control));
            break;
        case ui::ControlKind::CheckBox:
            binding.widget = makeCheckBox(static_cast<ui::CheckBox&>(control));
            break;
        case ui::ControlKind::RadioButton:
            binding.widget = makeRadioButton(static_cast<ui::RadioButton&>(control));
            break;
        case ui::ControlKind::ComboBox:
            binding.widget = makeComboBox(static_cast<ui::ComboBox&>(control));
            break;
        case ui::ControlKind::Edit:
            binding.widget = makeEdit(static_cast<ui::Edit&>(control));
            break;
        case ui::ControlKind::Lamp:
            binding.widget = new LampIndicator(content_);
            break;
        case ui::ControlKind::ProgressBar:
            binding.widget = new QProgressBar(content_);
            break;
        case ui::ControlKind::Picture: {
            auto* picture = new QLabel(content_);
            auto kind = static_cast<ui::Picture&>(control).picture;
            picture->setPixmap(kind == ui::PictureKind::Product
                                   ? productPicture()
                                   : appIconPixmap(kAppIconPictureSize));
            binding.widget = picture;
            break;
        }
    }
    binding.widget->setObjectName(keyOf(control));
    binding.cell = binding.widget;

    // Lists and edits carry their label; a multi-line edit has it above, the
    // others beside.
    std::string labelText;
    if (control.kind == ui::ControlKind::ComboBox)
        labelText = static_cast<ui::ComboBox&>(control).label;
    if (control.kind == ui::ControlKind::Edit) labelText = static_cast<ui::Edit&>(control).label;
    if (!labelText.empty()) {
        auto* label = new QLabel(fromLatin1(labelText), content_);
        label->setTextFormat(Qt::PlainText);
        label->setBuddy(binding.widget);
        bool above =
            control.kind == ui::ControlKind::Edit && static_cast<ui::Edit&>(control).multiLine;
        if (above) {
            auto* cell = new QWidget(content_);
            auto* stack = new QVBoxLayout(cell);
            stack->setContentsMargins(0, 0, 0, 0);
            stack->setSpacing(2);
            label->setParent(cell);
            stack->addWidget(label);
            stack->addWidget(binding.widget);
            binding.cell = cell;
        } else {
            binding.label = label;
        }
    }
    return binding;
}

QWidget* ScreenPanel::makeButton(ui::Button& button) {
    auto* widget = new QPushButton(content_);
    widget->setAutoDefault(false);
    widget->setDefault(button.isDefault);
    widget->setMinimumHeight(kButtonMinimumHeight);
    widget->installEventFilter(this);
    int generation = generation_;
    connect(widget, &QPushButton::clicked, this, [this, generation, &button] {
        runHandler(
            generation, [&] { clickButton(button); }, true);
    });
    return widget;
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
        generation_, [&] { clickButton(button); }, true);
}

void ScreenPanel::clickButton(ui::Button& button) {
    if (!button.visible || !button.enabled) return;
    if (button.twoState) button.toggleCaption();
    if (button.onClick) button.onClick();
}

QWidget* ScreenPanel::makeCheckBox(ui::CheckBox& box) {
    auto* widget = new QCheckBox(content_);
    int generation = generation_;
    connect(widget, &QCheckBox::toggled, this, [this, generation, &box](bool checked) {
        runHandler(
            generation,
            [&] {
                box.checked = checked;
                if (box.onChange) box.onChange();
            },
            true);
    });
    return widget;
}

QWidget* ScreenPanel::makeRadioButton(ui::RadioButton& radio) {
    auto* widget = new QRadioButton(content_);
    QButtonGroup*& group = radioGroups_[radio.group];
    if (!group) group = new QButtonGroup(content_);
    group->addButton(widget);
    int generation = generation_;
    connect(widget, &QRadioButton::toggled, this, [this, generation, &radio](bool checked) {
        if (!checked) return;  // the newly chosen button reports for the group
        runHandler(
            generation,
            [&] {
                for (const auto& control : screen_.controls())
                    if (auto* other = dynamic_cast<ui::RadioButton*>(control.get());
                        other && other->group == radio.group)
                        other->checked = other == &radio;
                if (radio.onChange) radio.onChange();
            },
            true);
    });
    return widget;
}

QWidget* ScreenPanel::makeComboBox(ui::ComboBox& combo) {
    auto* widget = new QComboBox(content_);
    widget->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    widget->setMinimumContentsLength(6);
    int generation = generation_;
    connect(widget, &QComboBox::currentIndexChanged, this, [this, generation, &combo](int index) {
        runHandler(
            generation,
            [&] {
                combo.selected = index;
                if (combo.onChange) combo.onChange();
            },
            true);
    });
    return widget;
}

QWidget* ScreenPanel::makeEdit(ui::Edit& edit) {
    int generation = generation_;
    if (edit.multiLine) {
        auto* widget = new QPlainTextEdit(content_);
        widget->setTabChangesFocus(true);
        widget->setMinimumHeight(widget->fontMetrics().lineSpacing() * kMultiLineRows + 12);
        connect(widget, &QPlainTextEdit::textChanged, this, [this, generation, &edit, widget] {
            runHandler(
                generation,
                [&] {
                    QString text = widget->toPlainText();
                    if (edit.maxLength > 0 && text.size() > edit.maxLength) {
                        // The box holds no more than the field it edits.
                        text.truncate(edit.maxLength);
                        QSignalBlocker blocker(widget);
                        widget->setPlainText(text);
                        widget->moveCursor(QTextCursor::End);
                    }
                    edit.text = toModelText(text, edit.text);
                    if (edit.onChange) edit.onChange();
                },
                false);
        });
        return widget;
    }
    auto* widget = new QLineEdit(content_);
    // A line edit's own preferred width would make rows of short boxes (hex bytes,
    // serial numbers) wider than a small screen: size it by what it may hold.
    int chars = edit.maxLength > 0 ? std::min(edit.maxLength, kWidestEditChars) : kWidestEditChars;
    widget->setMinimumWidth(widget->fontMetrics().horizontalAdvance(QLatin1Char('0')) *
                            (chars + 2));
    widget->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    connect(widget, &QLineEdit::textChanged, this, [this, generation, &edit](const QString& text) {
        runHandler(
            generation,
            [&] {
                edit.text = toLatin1(text);
                if (edit.onChange) edit.onChange();
            },
            false);
    });
    return widget;
}

template <class Handler>
void ScreenPanel::runHandler(int generation, Handler&& handler, bool moveFocus) {
    if (generation != generation_) return;
    {
        // Controls the handler replaces stay alive until the views have let go of them.
        ui::Screen::HandlerScope scope(screen_);
        ++handlerDepth_;
        handler();
        --handlerDepth_;
        syncAllOpen();
    }
    if (moveFocus) applyFocus();
    emit handlerFinished();
}

void ScreenPanel::sync() {
    if (builtRevision_ != screen_.layoutRevision()) {
        build();
        emit rebuilt();
    }
    for (const Binding& binding : bindings_)
        syncBinding(binding);
    syncRadioGroups();
    for (int i = 0; i < static_cast<int>(sectionBoxes_.size()); ++i) {
        bool anyVisible = std::any_of(bindings_.begin(), bindings_.end(), [i](const Binding& b) {
            return b.section == i && b.control->visible;
        });
        sectionBoxes_[i]->setVisible(anyVisible);
    }
}

void ScreenPanel::syncBinding(const Binding& binding) {
    ui::Control& control = *binding.control;
    QWidget* widget = binding.widget;
    QSignalBlocker blocker(widget);
    switch (control.kind) {
        case ui::ControlKind::Label: {
            auto& model = static_cast<ui::Label&>(control);
            auto* label = static_cast<QLabel*>(widget);
            label->setText(fromLatin1(model.text));
            QFont font = label->font();
            font.setBold(model.bold);
            label->setFont(font);
            label->setAlignment(model.centred ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
            break;
        }
        case ui::ControlKind::Button:
            static_cast<QPushButton*>(widget)->setText(
                buttonText(static_cast<ui::Button&>(control).caption));
            break;
        case ui::ControlKind::CheckBox: {
            auto& model = static_cast<ui::CheckBox&>(control);
            auto* box = static_cast<QCheckBox*>(widget);
            box->setText(fromLatin1(model.text));
            box->setChecked(model.checked);
            break;
        }
        case ui::ControlKind::RadioButton:
            static_cast<QRadioButton*>(widget)->setText(
                fromLatin1(static_cast<ui::RadioButton&>(control).text));
            break;
        case ui::ControlKind::ComboBox: {
            auto& model = static_cast<ui::ComboBox&>(control);
            auto* combo = static_cast<QComboBox*>(widget);
            QStringList entries;
            for (const auto& entry : model.entries)
                entries << fromLatin1(entry);
            QStringList shown;
            for (int i = 0; i < combo->count(); ++i)
                shown << combo->itemText(i);
            if (entries != shown) {
                combo->clear();
                combo->addItems(entries);
            }
            bool valid = model.selected >= 0 && model.selected < combo->count();
            combo->setCurrentIndex(valid ? model.selected : -1);
            break;
        }
        case ui::ControlKind::Edit: {
            auto& model = static_cast<ui::Edit&>(control);
            QString text = fromModelText(model.text);
            Qt::Alignment alignment = model.centred ? Qt::AlignHCenter : Qt::AlignLeft;
            if (model.multiLine) {
                auto* box = static_cast<QPlainTextEdit*>(widget);
                if (box->toPlainText() != text) box->setPlainText(text);
                box->setReadOnly(model.readOnly);
                QTextOption option = box->document()->defaultTextOption();
                if (option.alignment() != alignment) {
                    option.setAlignment(alignment);
                    box->document()->setDefaultTextOption(option);
                }
            } else {
                auto* line = static_cast<QLineEdit*>(widget);
                line->setMaxLength(model.maxLength > 0 ? model.maxLength : kNoLengthLimit);
                if (line->text() != text) line->setText(text);
                line->setEchoMode(model.masked ? QLineEdit::Password : QLineEdit::Normal);
                line->setReadOnly(model.readOnly);
                // A status line is read, not typed into: Tab passes it by, and it
                // looks like a display rather than an entry box.
                line->setFocusPolicy(model.readOnly ? Qt::ClickFocus : Qt::StrongFocus);
                QPalette colours = palette();
                if (model.readOnly)
                    colours.setColor(QPalette::Base, colours.color(QPalette::Window));
                line->setPalette(colours);
                line->setAlignment(alignment | Qt::AlignVCenter);
            }
            break;
        }
        case ui::ControlKind::Lamp: {
            auto& model = static_cast<ui::Lamp&>(control);
            auto* lamp = static_cast<LampIndicator*>(widget);
            lamp->setText(fromLatin1(model.text));
            lamp->setLit(model.lit);
            break;
        }
        case ui::ControlKind::ProgressBar: {
            auto& model = static_cast<ui::ProgressBar&>(control);
            auto* bar = static_cast<QProgressBar*>(widget);
            bar->setRange(model.minimum, model.maximum);
            bar->setValue(std::clamp(model.value, model.minimum, model.maximum));
            break;
        }
        case ui::ControlKind::Picture:
            break;
    }
    widget->setEnabled(control.enabled);
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
            blockers.emplace_back(binding.widget);
            if (model->checked && !chosen) chosen = static_cast<QAbstractButton*>(binding.widget);
        }
        // An exclusive group cannot show "nothing chosen" on its own.
        group->setExclusive(false);
        for (QAbstractButton* button : group->buttons())
            button->setChecked(button == chosen);
        group->setExclusive(true);
    }
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
        if (binding.control == control) return binding.widget;
    return nullptr;
}

}  // namespace vantrel::qt
