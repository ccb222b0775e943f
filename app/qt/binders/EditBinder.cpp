#include <QDoubleValidator>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QTextOption>
#include <QValidator>
#include <algorithm>

#include "TextCodec.h"
#include "binders/Binder.h"

namespace vantrel::qt {
namespace {

constexpr int kMultiLineRows = 4;
constexpr int kMultiLineMargin = 12;
constexpr int kNoLengthLimit = 32767;  // QLineEdit's own maximum
constexpr int kWidestEditChars = 8;    // beyond this a box may show a part only

// A text box holds 8-bit text: a character without a one-byte form is refused as
// it is typed or pasted, rather than stored as something else.
class Latin1Validator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        return isLatin1(input) ? Acceptable : Invalid;
    }
};

Qt::Alignment alignmentOf(const ui::Edit& model) {
    if (model.centred) return Qt::AlignHCenter;
    return model.numeric ? Qt::AlignRight : Qt::AlignLeft;
}

// How many characters the box must show: the widest number of a numeric box's
// range, else the maximum length up to a limit.
int widthInChars(const ui::Edit& model) {
    if (model.numeric) {
        const auto& range = *model.numeric;
        const int decimals = std::max(range.decimals, 0);
        return static_cast<int>(std::max(QString::number(range.minimum, 'f', decimals).size(),
                                         QString::number(range.maximum, 'f', decimals).size()));
    }
    return model.maxLength > 0 ? std::min(model.maxLength, kWidestEditChars) : kWidestEditChars;
}

class MultiLineBinder : public ControlBinder {
public:
    MultiLineBinder(ui::Edit& model, QPlainTextEdit* box, BinderHost& host)
        : ControlBinder(box), model_(model), box_(box) {
        box->setTabChangesFocus(true);
        box->setMinimumHeight(box->fontMetrics().lineSpacing() * kMultiLineRows + kMultiLineMargin);
        QObject::connect(
            box, &QPlainTextEdit::textChanged, host.receiver(),
            [run = host.runner(BinderHost::After::Nothing), &model, box] {
                run([&] {
                    QString text = box->toPlainText();
                    const bool foreign = !isLatin1(text);
                    if (foreign) text = latin1Only(text);
                    if (foreign || (model.maxLength > 0 && text.size() > model.maxLength)) {
                        // The box holds no more than the field it edits, and
                        // only characters it can store.
                        if (model.maxLength > 0) text.truncate(model.maxLength);
                        QSignalBlocker blocker(box);
                        box->setPlainText(text);
                        box->moveCursor(QTextCursor::End);
                    }
                    model.text = toModelText(text, model.text);
                    if (model.onChange) model.onChange();
                });
            });
    }
    std::string labelText() const override { return model_.label; }
    bool labelAbove() const override { return true; }
    void sync() override {
        QString text = fromModelText(model_.text);
        if (box_->toPlainText() != text) box_->setPlainText(text);
        box_->setReadOnly(model_.readOnly);
        QTextOption option = box_->document()->defaultTextOption();
        if (option.alignment() != alignmentOf(model_)) {
            option.setAlignment(alignmentOf(model_));
            box_->document()->setDefaultTextOption(option);
        }
    }

private:
    ui::Edit& model_;
    QPlainTextEdit* box_;
};

class LineEditBinder : public ControlBinder {
public:
    LineEditBinder(ui::Edit& model, QLineEdit* line, BinderHost& host)
        : ControlBinder(line), model_(model), line_(line) {
        // A line edit's own preferred width would make rows of short boxes (hex bytes,
        // serial numbers) wider than a small screen: size it by what it may hold.
        line->setMinimumWidth(line->fontMetrics().horizontalAdvance(QLatin1Char('0')) *
                              (widthInChars(model) + 2));
        line->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        QObject::connect(
            line, &QLineEdit::textChanged, host.receiver(),
            [run = host.runner(BinderHost::After::Nothing), &model](const QString& text) {
                run([&] {
                    model.text = toLatin1(text);
                    if (model.onChange) model.onChange();
                });
            });
    }
    std::string labelText() const override { return model_.label; }
    void sync() override {
        QString text = fromModelText(model_.text);
        line_->setMaxLength(model_.maxLength > 0 ? model_.maxLength : kNoLengthLimit);
        if (line_->text() != text) line_->setText(text);
        line_->setEchoMode(model_.masked ? QLineEdit::Password : QLineEdit::Normal);
        line_->setReadOnly(model_.readOnly);
        // A status line is read, not typed into: Tab passes it by, and it looks like
        // a display rather than an entry box.
        line_->setFocusPolicy(model_.readOnly ? Qt::ClickFocus : Qt::StrongFocus);
        QPalette colours = line_->parentWidget()->palette();
        if (model_.readOnly) colours.setColor(QPalette::Base, colours.color(QPalette::Window));
        line_->setPalette(colours);
        line_->setAlignment(alignmentOf(model_) | Qt::AlignVCenter);
        syncValidator();
    }

private:
    // A numeric box takes only what may become a number of its range; text on the
    // way there ("-", "12.") is let through, and the model reads it as no number.
    void syncValidator() {
        if (!model_.numeric) {
            if (validator_) {
                line_->setValidator(nullptr);
                delete validator_;
                validator_ = nullptr;
            }
            if (!latin1_) {
                latin1_ = new Latin1Validator(line_);
                line_->setValidator(latin1_);
            }
            return;
        }
        if (latin1_) {
            line_->setValidator(nullptr);
            delete latin1_;
            latin1_ = nullptr;
        }
        if (!validator_) {
            validator_ = new QDoubleValidator(line_);
            validator_->setNotation(QDoubleValidator::StandardNotation);
            // The point and no group separators, whatever the user's locale.
            QLocale c = QLocale::c();
            c.setNumberOptions(QLocale::RejectGroupSeparator);
            validator_->setLocale(c);
            line_->setValidator(validator_);
        }
        const auto& range = *model_.numeric;
        validator_->setRange(range.minimum, range.maximum, std::max(range.decimals, 0));
    }

    ui::Edit& model_;
    QLineEdit* line_;
    QDoubleValidator* validator_ = nullptr;
    Latin1Validator* latin1_ = nullptr;
};

}  // namespace

std::unique_ptr<ControlBinder> bindEdit(ui::Control& control, BinderHost& host) {
    auto& model = static_cast<ui::Edit&>(control);
    if (model.multiLine)
        return std::make_unique<MultiLineBinder>(model, new QPlainTextEdit(host.container()), host);
    return std::make_unique<LineEditBinder>(model, new QLineEdit(host.container()), host);
}

}  // namespace vantrel::qt
