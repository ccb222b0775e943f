#include "CErrorDlg.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextOption>
#include <QVBoxLayout>

namespace vantrel::qt {
namespace {
constexpr int kWidth = 300;
constexpr int kTextRows = 3;
}  // namespace

CErrorDlg::CErrorDlg(const QString& message, QWidget* parent) : QDialog(parent), message_(message) {
    setWindowTitle(QStringLiteral("Error"));
    auto* layout = new QVBoxLayout(this);

    text_ = new QPlainTextEdit(this);
    text_->setReadOnly(true);
    text_->setFocusPolicy(Qt::NoFocus);
    QTextOption centred = text_->document()->defaultTextOption();
    centred.setAlignment(Qt::AlignHCenter);
    text_->document()->setDefaultTextOption(centred);
    text_->setPlainText(message_);
    text_->setFixedHeight(text_->fontMetrics().lineSpacing() * kTextRows + 16);
    layout->addWidget(text_);

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setDefault(true);
    ok_->setMinimumHeight(30);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok_, 0, Qt::AlignHCenter);

    setFixedWidth(kWidth);
}

}  // namespace vantrel::qt
