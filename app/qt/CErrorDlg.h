#pragma once
// The Error dialog: titled "Error", the message centred in a read-only multi-line
// box, and an "OK" button that closes it.
#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace vantrel::qt {

class CErrorDlg : public QDialog {
    Q_OBJECT
public:
    explicit CErrorDlg(const QString& message, QWidget* parent = nullptr);

    QString message() const { return message_; }
    QPlainTextEdit& textBox() const { return *text_; }
    QPushButton& okButton() const { return *ok_; }

private:
    QString message_;
    QPlainTextEdit* text_;
    QPushButton* ok_;
};

}  // namespace vantrel::qt
