#pragma once
// An indicator lamp: a coloured dot and its text. It takes neither focus nor clicks,
// so the user can read it but never change it.
#include <QWidget>

namespace vantrel::qt {

class LampIndicator : public QWidget {
    Q_OBJECT
public:
    explicit LampIndicator(QWidget* parent = nullptr);

    void setLit(bool lit);
    bool isLit() const { return lit_; }
    void setText(const QString& text);
    QString text() const { return text_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int dotDiameter() const;

    bool lit_ = false;
    QString text_;
};

}  // namespace vantrel::qt
