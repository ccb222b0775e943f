#include "CErrorDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "DialogLook.h"

namespace vantrel::qt {
namespace {
constexpr int kMinimumWidth = 300;
constexpr int kButtonMinimumHeight = 30;
constexpr int kSpacing = 12;
}  // namespace

CErrorDlg::CErrorDlg(const QString& message, QWidget* parent) : QDialog(parent), message_(message) {
    setWindowTitle(QStringLiteral("Error"));
    setDialogButtons(*this);
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(kSpacing);

    auto* row = new QHBoxLayout;
    row->setSpacing(kSpacing);
    auto* icon = new QLabel(this);
    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()
                        ->standardIcon(QStyle::SP_MessageBoxCritical, nullptr, this)
                        .pixmap(iconSize, iconSize));
    icon->setAlignment(Qt::AlignTop);
    row->addWidget(icon);

    text_ = new QLabel(message_, this);
    text_->setTextFormat(Qt::PlainText);
    text_->setWordWrap(true);
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    row->addWidget(text_, 1);
    layout->addLayout(row);

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setDefault(true);
    ok_->setMinimumHeight(kButtonMinimumHeight);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok_, 0, Qt::AlignHCenter);

    setMinimumWidth(std::max(kMinimumWidth, widthForTitle(*this)));
    ok_->setFocus();
}

}  // namespace vantrel::qt
