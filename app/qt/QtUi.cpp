#include "QtUi.h"

#include <QApplication>
#include <QCursor>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "CErrorDlg.h"
#include "DialogLook.h"
#include "InputGate.h"
#include "ScreenPanel.h"
#include "ScreenView.h"
#include "SheetView.h"
#include "TextCodec.h"
#include "link/ErrorFlags.h"
#include "link/Report.h"
#include "ui/Screen.h"
#include "ui/Sheet.h"

namespace vantrel::qt {

QWidget* currentDialog() {
    return QApplication::activeModalWidget();
}

QString fileFilter(const ui::FileDialog& dialog) {
    QString name = fromLatin1(dialog.filterName);
    QString pattern = fromLatin1(dialog.filterPattern);
    if (pattern.isEmpty() || name.contains(pattern)) return name;
    if (name.isEmpty()) return pattern;
    return name + QStringLiteral(" (") + pattern + QLatin1Char(')');
}

QString withDefaultExtension(const QString& path, const std::string& extension) {
    if (extension.empty() || !QFileInfo(path).suffix().isEmpty()) return path;
    return path + QLatin1Char('.') + fromLatin1(extension);
}

// A dialog waits for the user, so it shows the normal cursor even in the middle of
// a busy operation; the wait cursor comes back when it closes, if still wanted. Input
// queued before it shows was not meant for it and is dropped.
class QtUi::NormalCursor {
public:
    explicit NormalCursor(QtUi& ui) : ui_(ui), paused_(ui.busy_) {
        discardQueuedInput();
        if (paused_) QApplication::restoreOverrideCursor();
    }
    ~NormalCursor() {
        if (paused_ && ui_.busy_) QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    NormalCursor(const NormalCursor&) = delete;
    NormalCursor& operator=(const NormalCursor&) = delete;

private:
    QtUi& ui_;
    bool paused_;
};

QtUi::QtUi() = default;

QtUi::~QtUi() {
    if (busy_) QApplication::restoreOverrideCursor();
}

void QtUi::message(ui::MessageKind, const std::string& text, const std::string& caption,
                   ui::Icon icon) {
    // A message without a kind of its own tells the user something: information.
    QMessageBox::Icon boxIcon =
        icon == ui::Icon::Exclamation ? QMessageBox::Warning : QMessageBox::Information;
    QString title = caption.empty() ? QApplication::applicationName() : fromLatin1(caption);
    QMessageBox box(boxIcon, title, fromLatin1(text), QMessageBox::Ok, currentDialog());
    box.setTextFormat(Qt::PlainText);
    setDialogButtons(box);
    fitTitle(box);
    NormalCursor cursor(*this);
    box.exec();
}

bool QtUi::question(const ui::Question& question) {
    QMessageBox box(QMessageBox::Question, fromLatin1(question.caption), fromLatin1(question.text),
                    QMessageBox::Yes | QMessageBox::No, currentDialog());
    box.setTextFormat(Qt::PlainText);
    setDialogButtons(box);
    fitTitle(box);
    box.setDefaultButton(question.byDefault == ui::Answer::No ? QMessageBox::No : QMessageBox::Yes);
    // Closing the box without an answer counts as No.
    box.setEscapeButton(QMessageBox::No);
    NormalCursor cursor(*this);
    return box.exec() == QMessageBox::Yes;
}

void QtUi::error(const std::string& text) {
    QString shown = fromLatin1(text);
    if (text == link::errorMessage(link::kPortNotOpen) && portErrorReason)
        if (const std::string reason = portErrorReason(); !reason.empty())
            shown += QLatin1Char('\n') + QString::fromStdString(reason);
    CErrorDlg dialog(shown, currentDialog());
    NormalCursor cursor(*this);
    dialog.exec();
}

std::optional<std::string> QtUi::saveFile(const ui::FileDialog& dialog) {
    return fileDialog(dialog, true);
}

std::optional<std::string> QtUi::openFile(const ui::FileDialog& dialog) {
    return fileDialog(dialog, false);
}

std::optional<std::string> QtUi::fileDialog(const ui::FileDialog& dialog, bool save) {
    QFileDialog box(currentDialog());
    box.setWindowTitle(save ? QStringLiteral("Save As") : QStringLiteral("Open"));
    // The tool's own dialog: its size can be kept to a small screen, and its question
    // before a file is replaced answers No to Enter.
    box.setOption(QFileDialog::DontUseNativeDialog);
    // A save keeps the dialog's question before an existing file is replaced: the
    // default names are the same for every actuator, and a second Enter would
    // otherwise lose the file of the one before.
    box.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    box.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    box.setNameFilter(fileFilter(dialog));
    box.setDefaultSuffix(fromLatin1(dialog.extension));
    QString name = withDefaultExtension(fromLatin1(dialog.defaultName), dialog.extension);
    if (!dialog.defaultName.empty()) box.selectFile(name);
    box.resize(box.sizeHint());
    keepOnScreen(box);
    NormalCursor cursor(*this);
    if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty()) return std::nullopt;
    QString path = box.selectedFiles().constFirst();
    if (save) path = withDefaultExtension(path, dialog.extension);
    if (!save && !QFileInfo(path).isFile()) return std::nullopt;
    return QFile::encodeName(path).toStdString();
}

void QtUi::play(ui::Sound sound) {
    sounds_.play(sound);
}

void QtUi::setBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
    ScreenPanel::blockAllInput(busy);
}

void QtUi::refresh() {
    ScreenPanel::syncAllOpen();
    // Paint what changed, but let no click or key reach a screen mid-operation.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtUi::run(ui::Screen& screen) {
    screen.setUp();
    if (screen.closed()) return;
    ScreenView view(screen, currentDialog());
    discardQueuedInput();
    view.exec();
}

void QtUi::run(ui::Sheet& sheet) {
    SheetView view(sheet, currentDialog());
    if (sheet.closed()) return;
    discardQueuedInput();
    view.exec();
}

}  // namespace vantrel::qt
