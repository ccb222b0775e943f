#include <QLabel>

#include "Artwork.h"
#include "binders/Binder.h"

namespace vantrel::qt {
namespace {

constexpr int kAppIconPictureSize = 64;

// A picture never changes, so it is drawn once when the widget is made.
class PictureBinder : public ControlBinder {
public:
    PictureBinder(const ui::Picture& model, QLabel* label) : ControlBinder(label) {
        label->setPixmap(model.picture == ui::PictureKind::Product
                             ? productPicture()
                             : appIconPixmap(kAppIconPictureSize));
    }
    Qt::Alignment cellAlignment() const override { return Qt::AlignHCenter; }
    void sync() override {}
};

}  // namespace

std::unique_ptr<ControlBinder> bindPicture(ui::Control& control, BinderHost& host) {
    return std::make_unique<PictureBinder>(static_cast<ui::Picture&>(control),
                                           new QLabel(host.container()));
}

}  // namespace vantrel::qt
