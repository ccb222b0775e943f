#include <QComboBox>

#include "TextCodec.h"
#include "binders/Binder.h"

namespace vantrel::qt {
namespace {

constexpr int kMinimumChars = 6;

class ComboBoxBinder : public ControlBinder {
public:
    ComboBoxBinder(ui::ComboBox& model, QComboBox* combo, BinderHost& host)
        : ControlBinder(combo), model_(model), combo_(combo) {
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        combo->setMinimumContentsLength(kMinimumChars);
        QObject::connect(combo, &QComboBox::currentIndexChanged, host.receiver(),
                         [run = host.runner(true), &model](int index) {
                             run([&] {
                                 model.selected = index;
                                 if (model.onChange) model.onChange();
                             });
                         });
    }
    std::string labelText() const override { return model_.label; }
    void sync() override {
        QStringList entries;
        for (const auto& entry : model_.entries)
            entries << fromLatin1(entry);
        QStringList shown;
        for (int i = 0; i < combo_->count(); ++i)
            shown << combo_->itemText(i);
        if (entries != shown) {
            combo_->clear();
            combo_->addItems(entries);
        }
        bool valid = model_.selected >= 0 && model_.selected < combo_->count();
        combo_->setCurrentIndex(valid ? model_.selected : -1);
    }

private:
    ui::ComboBox& model_;
    QComboBox* combo_;
};

}  // namespace

std::unique_ptr<ControlBinder> bindComboBox(ui::Control& control, BinderHost& host) {
    return std::make_unique<ComboBoxBinder>(static_cast<ui::ComboBox&>(control),
                                            new QComboBox(host.container()), host);
}

}  // namespace vantrel::qt
