#pragma once
// Drives modal dialogs from a test: each step is called once with the next new
// modal dialog that shows. Past the deadline, or when it runs out of steps while
// dialogs keep coming, it rejects whatever is modal so that no test can hang.
#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

namespace vantrel::test {

class ModalDriver {
public:
    using Step = std::function<void(QWidget*)>;

    explicit ModalDriver(std::vector<Step> steps, int timeoutMs = 10000);
    ~ModalDriver();

    // Every step ran, in time.
    bool finished() const { return next_ == steps_.size() && !timedOut_; }
    bool timedOut() const { return timedOut_; }
    // Titles of the dialogs that were seen, in order.
    const QStringList& seen() const { return seen_; }

private:
    void tick();

    std::vector<Step> steps_;
    size_t next_ = 0;
    std::vector<QPointer<QWidget>> handled_;
    QStringList seen_;
    QTimer timer_;
    QTimer deadline_;
    bool timedOut_ = false;
};

// A widget's text as it reads: without the '&' that marks an Alt shortcut, and a
// doubled '&' shown once.
inline QString shownText(QString text) {
    QString shown;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size()) ++i;
        shown += text[i];
    }
    return shown;
}

// The first visible child of `parent` of type T whose text reads `text`.
template <class T>
T* findByText(QWidget* parent, const QString& text) {
    for (T* widget : parent->findChildren<T*>())
        if (shownText(widget->text()) == text && widget->isVisibleTo(parent)) return widget;
    return nullptr;
}

}  // namespace vantrel::test
