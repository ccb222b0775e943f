// extract, update and password: the whole-image transfer with a file named on the
// command line in place of the file dialogs, and the actuator password screen
// driven by its controls.
#include <array>
#include <cctype>
#include <iostream>
#include <optional>

#include "CliUi.h"
#include "Command.h"
#include "WriteWatch.h"
#include "image/ImageFile.h"
#include "image/ImageTransfer.h"
#include "shell/ActPassword.h"

namespace vantrel::cli {

namespace {

constexpr const char* kPasswordList = "Password:";
constexpr std::string_view kImageExtension = "ucf";

int status(bool completed) {
    return completed ? kSuccess : kFailed;
}

// extract -o FILE.ucf
int runExtract(Session& session, std::span<const std::string> args) {
    // A folder's name would become "DIR.ucf" beside it or the hidden file "DIR/.ucf".
    if (args.size() != 2 || args[0] != "-o" || !isOutputFileName(args[1], kImageExtension))
        return kUsage;
    // When only the option card type could not be read, what was read is kept: the
    // failure has been shown and the exit status still says the extract failed.
    bool cardTypeUnread = false;
    const bool extracted = image::extractImage(session.context, &cardTypeUnread);
    if (!extracted && !cardTypeUnread) return kFailed;
    session.ui.setFileAnswer(args[1]);
    const bool saved = image::saveImageFile(session.context);
    return status(extracted && saved);
}

// update FILE.ucf
int runUpdate(Session& session, std::span<const std::string> args) {
    if (args.size() != 1) return kUsage;
    session.ui.setFileAnswer(args[0]);
    const WriteWatch watch(session);
    const bool updated =
        image::updateImage(session.context, session.context.loginLevel != shell::kNotLoggedIn);
    // An update stopped by its question has shown nothing: say what stopped it.
    if (!updated) watch.nothingSent("update");
    return status(updated);
}

// The drop-down entry for a byte typed as one or two hexadecimal digits: "1Ah".
std::optional<std::string> passwordEntry(const std::string& text) {
    if (text.empty() || text.size() > 2) return std::nullopt;
    std::string entry = text.size() == 1 ? "0" + text : text;
    for (char& c : entry) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return entry + "h";
}

// password read | password write HH
int runPassword(Session& session, std::span<const std::string> args) {
    const bool read = args.size() == 1 && args[0] == "read";
    const bool write = args.size() == 2 && args[0] == "write";
    if (!read && !write) return kUsage;
    std::optional<std::string> entry;
    if (write && !(entry = passwordEntry(args[1]))) return kUsage;

    shell::CActPassword screen(session.context);
    session.ui.run(screen);
    auto& list = screen.get<ui::ComboBox>(kPasswordList);
    const int errorsBefore = session.ui.errorCount();
    if (read) {
        screen.click("Read Password");
        if (session.ui.errorCount() != errorsBefore) return kFailed;
        std::cout << list.selectedText() << std::endl;
        return kSuccess;
    }
    list.select(*entry);
    screen.click("Update Password");
    return status(session.ui.errorCount() == errorsBefore);
}

constexpr std::array<Command, 3> kCommands = {{
    {"extract", "-o FILE.ucf", runExtract},
    {"update", "FILE.ucf", runUpdate},
    {"password", "read | write HH", runPassword},
}};

}  // namespace

std::span<const Command> imageCommands() {
    return kCommands;
}

}  // namespace vantrel::cli
