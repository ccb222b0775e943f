#pragma once
// The line at the bottom of every screen: the port, the login level and the outcome
// of the last operation. Every open bar reads the same source; without a source
// (a screen shown on its own) the bar stays hidden, and of screens opened one over
// another only the top one shows it.
#include <QWidget>
#include <functional>

#include "shell/StatusLine.h"

class QLabel;

namespace vantrel::qt {

class StatusBar : public QWidget {
    Q_OBJECT
public:
    using Source = std::function<shell::StatusLine()>;

    explicit StatusBar(QWidget* parent = nullptr);
    ~StatusBar() override;

    // Where every bar reads its texts from; the context lives as long as the program.
    static void setSource(Source source);
    // Reads the source again in every open bar.
    static void syncAll();

    void sync();
    QString portText() const;
    QString loginText() const;
    // The whole outcome, and as much of it as the bar shows.
    QString outcomeText() const;
    QString shownOutcome() const;

private:
    QLabel* port_;
    QLabel* login_;
    QLabel* outcome_;
    QWidget* outcomeSeparator_;
};

// Makes the status bars show this context.
void showStatusOf(const shell::Context& context);

}  // namespace vantrel::qt
