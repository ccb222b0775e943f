#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextOption>
#include <algorithm>

#include "TextCodec.h"
#include "binders/Binder.h"

namespace vantrel::qt {
namespace {

constexpr int kMultiLineRows = 4;
constexpr int kMultiLineMargin = 12;
constexpr int kNoLengthLimit = 32767;  // QLineEdit's own maximum
constexpr int kWidestEditChars = 8;    // beyond this a box may show a part only

Qt::Alignment alignmentOf(const ui::Edit& model) {
    return model.centred ? Qt::AlignHCenter : Qt::AlignLeft;
}

class MultiLineBinder : public ControlBinder {
public:
    MultiLineBinder(ui::Edit& model, QPlainTextEdit* box, BinderHost& host)
        : ControlBinder(box), model_(model), box_(box) {
        box->setTabChangesFocus(true);
        box->setMinimumHeight(box->fontMetrics().lineSpacing() * kMultiLineRows + kMultiLineMargin);
        QObject::connect(box, &QPlainTextEdit::textChanged, host.receiver(),
                         [run = host.runner(false), &model, box] {
                             run([&] {
                                 QString text = box->toPlainText();
                                 if (model.maxLength > 0 && text.size() > model.maxLength) {
                                     // The box holds no more than the field it edits.
                                     text.truncate(model.maxLength);
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
        int chars =
            model.maxLength > 0 ? std::min(model.maxLength, kWidestEditChars) : kWidestEditChars;
        line->setMinimumWidth(line->fontMetrics().horizontalAdvance(QLatin1Char('0')) *
                              (chars + 2));
        line->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        QObject::connect(line, &QLineEdit::textChanged, host.receiver(),
                         [run = host.runner(false), &model](const QString& text) {
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
    }

private:
    ui::Edit& model_;
    QLineEdit* line_;
};

}  // namespace

std::unique_ptr<ControlBinder> bindEdit(ui::Control& control, BinderHost& host) {
    auto& model = static_cast<ui::Edit&>(control);
    if (model.multiLine)
        return std::make_unique<MultiLineBinder>(model, new QPlainTextEdit(host.container()), host);
    return std::make_unique<LineEditBinder>(model, new QLineEdit(host.container()), host);
}

}  // namespace vantrel::qt
