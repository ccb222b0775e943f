#pragma once
// The tool's own pictures, drawn in code so that nothing needs to be shipped as a
// bitmap: the product picture the menus show and the application icon.
#include <QIcon>
#include <QPixmap>

namespace vantrel::qt {

// A valve actuator on its valve, about 210 x 160 pixels.
QPixmap productPicture();
// The application icon: a handwheel on a rounded square, at several sizes.
QIcon appIcon();
QPixmap appIconPixmap(int size);

}  // namespace vantrel::qt
