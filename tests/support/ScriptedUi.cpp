#include "ScriptedUi.h"

namespace vantrel::test {

void ScriptedUi::message(ui::MessageKind kind, const std::string& text, const std::string&,
                         ui::Icon) {
    messages.push_back(text);
    if (kind == ui::MessageKind::Note) notes.push_back(text);
    shown.push_back("message: " + text);
}

bool ScriptedUi::question(const ui::Question& question) {
    questions.push_back(question.text);
    questionIds.push_back(question.id);
    if (question.byDefault == ui::Answer::No) noByDefault.push_back(question.text);
    shown.push_back("question: " + question.caption + ": " + question.text);
    if (answers.empty()) return false;
    bool answer = answers.front();
    answers.pop_front();
    return answer;
}

void ScriptedUi::error(const std::string& text) {
    errors.push_back(text);
    shown.push_back("error: " + text);
}

std::optional<std::string> ScriptedUi::takeFile(const std::string& shownAs) {
    shown.push_back(shownAs);
    if (files.empty()) return std::nullopt;
    auto file = files.front();
    files.pop_front();
    return file;
}

std::optional<std::string> ScriptedUi::saveFile(const ui::FileDialog& dialog) {
    return takeFile("save: " + dialog.defaultName);
}

std::optional<std::string> ScriptedUi::openFile(const ui::FileDialog& dialog) {
    return takeFile("open: " + dialog.defaultName);
}

void ScriptedUi::setBusy(bool on) {
    if (on && !busy) ++busyCount;
    busy = on;
}

void ScriptedUi::run(ui::Screen& screen) {
    screen.setUp();
    if (onRunScreen)
        onRunScreen(screen);
    else
        screen.close();
}

void ScriptedUi::run(ui::Sheet& sheet) {
    if (sheet.pageCount() > 0) sheet.show(0);
    if (onRunSheet) onRunSheet(sheet);
}

void ScriptedUi::clearRecord() {
    shown.clear();
    messages.clear();
    notes.clear();
    errors.clear();
    questions.clear();
    questionIds.clear();
    sounds.clear();
    refreshes = 0;
    busyCount = 0;
}

}  // namespace vantrel::test
