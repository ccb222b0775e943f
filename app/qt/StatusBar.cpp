#include "StatusBar.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <algorithm>
#include <vector>

#include "TextCodec.h"

namespace vantrel::qt {
namespace {

constexpr int kSpacing = 8;

StatusBar::Source& source() {
    static StatusBar::Source theSource;
    return theSource;
}

std::vector<StatusBar*>& openBars() {
    static std::vector<StatusBar*> bars;
    return bars;
}

// A one-line text cut in the middle to the width it is given; the whole text is its
// tooltip.
class ElidedLabel : public QLabel {
public:
    using QLabel::QLabel;
    void setWholeText(const QString& text) {
        whole_ = text;
        setToolTip(text);
        fit();
    }
    const QString& wholeText() const { return whole_; }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QLabel::resizeEvent(event);
        fit();
    }

private:
    void fit() { setText(fontMetrics().elidedText(whole_, Qt::ElideMiddle, width())); }
    QString whole_;
};

QFrame* separator(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

}  // namespace

StatusBar::StatusBar(QWidget* parent) : QWidget(parent) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(kSpacing);
    port_ = new QLabel(this);
    login_ = new QLabel(this);
    outcome_ = new ElidedLabel(this);
    for (QLabel* label : {port_, login_, outcome_})
        label->setTextFormat(Qt::PlainText);
    // A long outcome is cut in the middle rather than widening the window; its whole
    // text is the tooltip.
    outcome_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    outcome_->setMinimumWidth(0);
    row->addWidget(port_);
    row->addWidget(separator(this));
    row->addWidget(login_);
    outcomeSeparator_ = separator(this);
    row->addWidget(outcomeSeparator_);
    row->addWidget(outcome_, 1);
    openBars().push_back(this);
    syncAll();
}

StatusBar::~StatusBar() {
    std::erase(openBars(), this);
    syncAll();
}

void StatusBar::setSource(Source newSource) {
    source() = std::move(newSource);
    syncAll();
}

void StatusBar::syncAll() {
    for (StatusBar* bar : openBars())
        bar->sync();
}

void StatusBar::sync() {
    if (!source()) {
        hide();
        return;
    }
    const shell::StatusLine line = source()();
    port_->setText(fromLatin1(line.port));
    login_->setText(fromLatin1(line.login));
    static_cast<ElidedLabel*>(outcome_)->setWholeText(fromLatin1(line.outcome));
    outcomeSeparator_->setVisible(!line.outcome.empty());
    // A screen opened over another shows the one bar: the newest, on top.
    setVisible(openBars().back() == this);
}

QString StatusBar::portText() const {
    return port_->text();
}

QString StatusBar::loginText() const {
    return login_->text();
}

QString StatusBar::outcomeText() const {
    return static_cast<ElidedLabel*>(outcome_)->wholeText();
}

QString StatusBar::shownOutcome() const {
    return outcome_->text();
}

void showStatusOf(const shell::Context& context) {
    StatusBar::setSource([&context] { return shell::statusLine(context); });
}

}  // namespace vantrel::qt
