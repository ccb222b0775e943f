#include <QComboBox>

#include "TextCodec.h"
#include "binders/Binder.h"

namespace vantrel::qt {
namespace {

constexpr int kMinimumChars = 6;
constexpr int kVisibleRows = 12;

class ComboBoxBinder : public ControlBinder {
public:
    ComboBoxBinder(ui::ComboBox& model, QComboBox* combo, BinderHost& host)
        : ControlBinder(combo), model_(model), combo_(combo) {
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        combo->setMinimumContentsLength(kMinimumChars);
        // A long list (256 passwords) opens as a scrolling list of a few rows, not as
        // a popup as tall as the screen.
        combo->setMaxVisibleItems(kVisibleRows);
        combo->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
        QObject::connect(combo, &QComboBox::currentIndexChanged, host.receiver(),
                         [run = host.runner(BinderHost::After::Discard), &model](int index) {
                             run([&] {
                                 model.selected = index;
                                 if (model.onChange) model.onChange();
                             });
                         });
    }
    std::string labelText() const override { return model_.label; }
    void sync() override {
        // A sync runs after every keystroke in any box: the list is refilled only
        // when its entries changed since it was last filled.
        if (!filled_ || shownRevision_ != model_.entriesRevision()) {
            QStringList entries;
            for (const auto& entry : model_.entries())
                entries << fromLatin1(entry);
            combo_->clear();
            combo_->addItems(entries);
            filled_ = true;
            shownRevision_ = model_.entriesRevision();
        }
        bool valid = model_.selected >= 0 && model_.selected < combo_->count();
        combo_->setCurrentIndex(valid ? model_.selected : -1);
    }

private:
    ui::ComboBox& model_;
    QComboBox* combo_;
    bool filled_ = false;
    uint64_t shownRevision_ = 0;
};

}  // namespace

std::unique_ptr<ControlBinder> bindComboBox(ui::Control& control, BinderHost& host) {
    return std::make_unique<ComboBoxBinder>(static_cast<ui::ComboBox&>(control),
                                            new QComboBox(host.container()), host);
}

}  // namespace vantrel::qt
