// frame and diag: the raw frame test and the diagnostics screen, driven by their
// controls so that the command line runs the same code as the GUI.
#include <array>
#include <cctype>
#include <iostream>

#include "CliUi.h"
#include "Command.h"
#include "service/Diagnostics.h"
#include "service/Vxchat.h"

namespace vantrel::cli {

namespace {

// The screen shows no message for a missing reply; the command line says it once.
constexpr const char* kNoReply =
    "vantrel-cli: no valid reply (none arrived, or its checksum was wrong)";

bool isHexByte(const std::string& text) {
    if (text.empty() || text.size() > 2) return false;
    for (char c : text)
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

// A command that showed an error dialog has failed.
int outcome(const Session& session) {
    return session.ui.errorCount() > 0 ? kFailed : kSuccess;
}

int runFrame(Session& session, std::span<const std::string> args) {
    if (args.size() != service::kTransmitIds.size()) return kUsage;
    for (const auto& arg : args)
        if (!isHexByte(arg)) return kUsage;

    service::CVxchat screen(session.context);
    session.ui.run(screen);
    for (size_t i = 0; i < args.size(); ++i)
        screen.get<ui::Edit>(service::kTransmitIds[i]).text = args[i];
    screen.click("SEND");

    for (const char* id : service::kReceiveHexIds)
        std::cout << screen.get<ui::Edit>(id).text << ' ';
    std::cout << screen.get<ui::Edit>(service::kResultId).text << std::endl;
    // The line shows what the screen shows, the request's own bytes included when
    // nothing came back; the status says whether a reply arrived.
    if (screen.replied()) return outcome(session);
    if (session.ui.errorCount() == 0) std::cerr << kNoReply << std::endl;
    return kFailed;
}

int runDiag(Session& session, std::span<const std::string> args) {
    if (!args.empty()) return kUsage;
    service::CDiagnostics screen(session.context);
    session.ui.run(screen);
    screen.click("Update");
    // Without a port there is nothing to show: every indicator would read "off".
    if (!screen.portOpened()) return kFailed;
    for (const char* text : service::kIndicatorTexts)
        std::cout << text << ": " << (screen.get<ui::Lamp>(text).lit ? "on" : "off") << '\n';
    std::cout.flush();
    return outcome(session);
}

constexpr std::array<Command, 2> kCommands = {{
    {"frame", "CC AA D1 D2 D3", runFrame},
    {"diag", "", runDiag},
}};

}  // namespace

std::span<const Command> frameCommands() {
    return kCommands;
}

}  // namespace vantrel::cli
