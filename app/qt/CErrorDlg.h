#pragma once
// The Error dialog: titled "Error", the error icon beside the message, and an "OK"
// button that closes it.
#include <QDialog>

class QLabel;
class QPushButton;

namespace vantrel::qt {

class CErrorDlg : public QDialog {
    Q_OBJECT
public:
    explicit CErrorDlg(const QString& message, QWidget* parent = nullptr);

    QString message() const { return message_; }
    QLabel& textLabel() const { return *text_; }
    QPushButton& okButton() const { return *ok_; }

private:
    QString message_;
    QLabel* text_;
    QPushButton* ok_;
};

}  // namespace vantrel::qt
