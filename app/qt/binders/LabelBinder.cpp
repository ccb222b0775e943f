#include <QLabel>

#include "TextCodec.h"
#include "binders/Binder.h"

namespace vantrel::qt {
namespace {

class LabelBinder : public ControlBinder {
public:
    LabelBinder(ui::Label& model, QLabel* label)
        : ControlBinder(label), model_(model), label_(label) {
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
    }
    void sync() override {
        label_->setText(fromLatin1(model_.text));
        QFont font = label_->font();
        font.setBold(model_.bold);
        label_->setFont(font);
        label_->setAlignment(model_.centred ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
    }

private:
    ui::Label& model_;
    QLabel* label_;
};

}  // namespace

std::unique_ptr<ControlBinder> bindLabel(ui::Control& control, BinderHost& host) {
    return std::make_unique<LabelBinder>(static_cast<ui::Label&>(control),
                                         new QLabel(host.container()));
}

}  // namespace vantrel::qt
