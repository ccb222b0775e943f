// calibration: the torque sensor's calibration values and the multiport set-up,
// driven through the service screens by their controls, with the image extracted
// (or loaded from --from) as "Read and update calibration data" does.
#include <algorithm>
#include <array>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "CliUi.h"
#include "Command.h"
#include "WriteWatch.h"
#include "image/ImageFile.h"
#include "image/ImageTransfer.h"
#include "link/ErrorFlags.h"
#include "link/Report.h"
#include "pages/ConfigPage.h"
#include "service/ReCalTS.h"
#include "service/Service.h"
#include "service/TorqueCalibration.h"
#include "service/TrqCalib.h"
#include "ui/ScreenDriver.h"

namespace vantrel::cli {

namespace {

constexpr std::array<const char*, 5> kValueNames = {
    service::kClockwiseOffset, service::kAntiClockwiseOffset, service::kClockwiseScaling,
    service::kAntiClockwiseScaling, service::kGain};
constexpr std::size_t kBarcodeDigits = 5;
constexpr std::size_t kFirstDigits = 2;
constexpr std::string_view kImageExtension = "ucf";

struct Invocation {
    std::optional<std::string> from;
    std::optional<std::string> output;
    std::string action;
    std::vector<std::string> args;
};

bool allDigits(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

std::optional<Invocation> parse(std::span<const std::string> args) {
    Invocation call;
    std::size_t i = 0;
    for (; i + 1 < args.size(); i += 2) {
        if (args[i] == "--from" && !call.from && !args[i + 1].empty())
            call.from = args[i + 1];
        else if (args[i] == "-o" && !call.output && !args[i + 1].empty())
            call.output = args[i + 1];
        else
            break;
    }
    if (i >= args.size()) return std::nullopt;
    call.action = args[i];
    call.args.assign(args.begin() + i + 1, args.end());
    return call;
}

// set NAME=VALUE... send|keep: the names and values, each checked.
bool validSet(const std::vector<std::string>& args) {
    if (args.size() < 2 || (args.back() != "send" && args.back() != "keep")) return false;
    for (std::size_t i = 0; i + 1 < args.size(); ++i) {
        const auto cut = args[i].find('=');
        if (cut == std::string::npos) return false;
        const std::string name = args[i].substr(0, cut);
        if (std::find(kValueNames.begin(), kValueNames.end(), name) == kValueNames.end())
            return false;
        if (!allDigits(args[i].substr(cut + 1))) return false;
    }
    return true;
}

bool validBarcode(const std::string& digits) {
    return digits.size() == kBarcodeDigits && allDigits(digits);
}

bool validAction(const Invocation& call) {
    if (call.action == "show") return call.args.empty();
    if (call.action == "set") return validSet(call.args);
    if (call.action == "recalibrate")
        return call.args.size() == 2 && validBarcode(call.args[0]) && validBarcode(call.args[1]);
    return false;
}

// The service actions refuse below the Service level as the screens' Send does.
bool serviceLevel(Session& session) {
    if (session.context.loginLevel == shell::kService) return true;
    session.context.errorFlags |= link::kIncorrectPassword;
    link::reportLinkError(session.context);
    return false;
}

int showValues(Session& session) {
    service::CTrqCalib screen(session.context);
    session.ui.run(screen);
    for (const std::string& line : ui::showControls(screen))
        std::cout << line << '\n';
    return kSuccess;
}

int setValues(Session& session, const std::vector<std::string>& args) {
    service::CTrqCalib screen(session.context);
    session.ui.run(screen);
    // A box that cannot be typed into (a value the image file lacked) ends the run
    // before anything is sent.
    for (std::size_t i = 0; i + 1 < args.size(); ++i) {
        const auto cut = args[i].find('=');
        const ui::DriveResult typed =
            ui::setControl(screen, args[i].substr(0, cut), args[i].substr(cut + 1));
        if (!typed.ok()) {
            std::cerr << "vantrel-cli: " << args[i] << ": " << typed.problem << ", nothing done\n";
            return kFailed;
        }
    }
    using enum ui::QuestionId;
    if (args.back() == "send")
        session.ui.script({{SendPage, true}});
    else
        session.ui.script({{SendPage, false}, {KeepChanges, true}});
    const int failuresBefore = session.ui.failureCount();
    const WriteWatch watch(session);
    ui::pressButton(screen, "Send");
    const bool answered = session.ui.endScript();
    // A refused Send has said why already.
    if (session.ui.failureCount() != failuresBefore) return kFailed;
    if (!answered) {
        std::cerr << "vantrel-cli: " << args.back()
                  << ": Send did not ask whether to send the values\n";
        return kFailed;
    }
    return args.back() == "send" && watch.nothingSent("send") ? kFailed : kSuccess;
}

int recalibrateValues(Session& session, const std::string& oldDigits,
                      const std::string& newDigits) {
    auto digits = [](const std::string& five) {
        return service::BarcodeDigits{
            static_cast<unsigned>(std::stoul(five.substr(0, kFirstDigits))),
            static_cast<unsigned>(std::stoul(five.substr(kFirstDigits)))};
    };
    // Values the image file lacked give no figures; the screen says so.
    const bool held = service::holdsCalibration(session.context.image);
    const service::Recalibration result = service::recalibrate(
        service::readCalibration(session.context.image), digits(oldDigits), digits(newDigits));
    if (held && result.valid) {
        const service::Calibration& v = result.values;
        std::cout << service::kClockwiseOffset << ": " << v.clockwiseOffset << '\n'
                  << service::kAntiClockwiseOffset << ": " << v.antiClockwiseOffset << '\n'
                  << service::kClockwiseScaling << ": " << unsigned{v.clockwiseScaling} << '\n'
                  << service::kAntiClockwiseScaling << ": " << unsigned{v.antiClockwiseScaling}
                  << '\n'
                  << service::kGain << ": " << unsigned{v.gain} << '\n'
                  << "Normalisation: " << unsigned{v.normalisation} << std::endl;
    }

    // The screen shows the warnings and the error, asks, stores and sends.
    service::CReCalTS screen(session.context);
    session.ui.run(screen);
    ui::setControl(screen, service::kOldFirstId, oldDigits.substr(0, kFirstDigits));
    ui::setControl(screen, service::kOldLastId, oldDigits.substr(kFirstDigits));
    ui::setControl(screen, service::kNewFirstId, newDigits.substr(0, kFirstDigits));
    ui::setControl(screen, service::kNewLastId, newDigits.substr(kFirstDigits));
    const int errorsBefore = session.ui.errorCount();
    ui::pressButton(screen, "re - calibrate");
    return held && result.valid && session.ui.errorCount() == errorsBefore ? kSuccess : kFailed;
}

// calibration [--from FILE.ucf] [-o FILE.ucf] ACTION ...  |  calibration multiport-setup
int runCalibration(Session& session, std::span<const std::string> args) {
    if (args.size() == 1 && args[0] == "multiport-setup") {
        if (!serviceLevel(session)) return kFailed;
        return service::setUpMultiport(session.context) ? kSuccess : kFailed;
    }
    const std::optional<Invocation> call = parse(args);
    if (!call || !validAction(*call)) return kUsage;
    if (call->output && !isOutputFileName(*call->output, kImageExtension)) return kUsage;
    if (call->action != "show" && !serviceLevel(session)) return kFailed;

    bool filled = false;
    if (call->from) {
        session.ui.setFileAnswer(*call->from);
        filled = image::loadImageFile(session.context);
    } else {
        filled = image::extractImage(session.context);
    }
    int status = kFailed;
    if (filled) {
        if (call->action == "show")
            status = showValues(session);
        else if (call->action == "set")
            status = setValues(session, call->args);
        else
            status = recalibrateValues(session, call->args[0], call->args[1]);
    }
    // The image as it stands now, whatever happened before.
    if (call->output) {
        session.ui.setFileAnswer(*call->output);
        if (!image::saveImageFile(session.context)) status = kFailed;
    }
    return status;
}

constexpr std::array<Command, 1> kCommands = {{
    {"calibration",
     "[--from FILE.ucf] [-o FILE.ucf] show | set NAME=VALUE... send|keep | recalibrate OLD NEW"
     " | multiport-setup",
     runCalibration},
}};

}  // namespace

std::span<const Command> calibrationCommands() {
    return kCommands;
}

}  // namespace vantrel::cli
