// settings, diff and apply: every setting of the sheet by name, read from a file
// or the actuator, compared between two images, and applied from a template.
#include <QFile>
#include <QJsonDocument>
#include <array>
#include <iostream>
#include <optional>

#include "CliUi.h"
#include "Command.h"
#include "SettingsSource.h"
#include "pages/ConfigPage.h"
#include "settings/SettingsDiff.h"
#include "settings/Template.h"
#include "ui/ScreenDriver.h"

namespace vantrel::cli {

namespace {

constexpr const char* kSendCaption = "Send";

struct Flags {
    std::optional<std::string> from;
    bool json = false;
    std::vector<std::string> files;
};

// [--from F] [--json] FILE...; nothing on an unknown option.
std::optional<Flags> parseFlags(std::span<const std::string> args, bool takesFrom) {
    Flags flags;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (takesFrom && args[i] == "--from" && i + 1 < args.size() && !args[i + 1].empty())
            flags.from = args[++i];
        else if (args[i] == "--json")
            flags.json = true;
        else if (args[i].starts_with("--"))
            return std::nullopt;
        else
            flags.files.push_back(args[i]);
    }
    return flags;
}

void printJson(const QJsonObject& document) {
    std::cout << QJsonDocument(document).toJson(QJsonDocument::Indented).toStdString();
    std::cout.flush();
}

// settings [--from FILE.ucf] [--json]
int runSettings(Session& session, std::span<const std::string> args) {
    const std::optional<Flags> flags = parseFlags(args, true);
    if (!flags || !flags->files.empty()) return kUsage;
    if (!fetchSettingsImage(session, flags->from)) return kFailed;
    const std::vector<settings::Setting> all = settings::readSettings(session.context);
    if (flags->json) {
        printJson(settingsDocument(session, all));
    } else {
        for (const settings::Setting& setting : all)
            std::cout << settings::settingLine(setting) << '\n';
        std::cout.flush();
    }
    return kSuccess;
}

// diff A.ucf [B.ucf] [--json]: exit 0 equal, 1 different, 2 usage error or an image
// that could not be read.
int runDiff(Session& session, std::span<const std::string> args) {
    const std::optional<Flags> flags = parseFlags(args, false);
    if (!flags || flags->files.empty() || flags->files.size() > 2) return kUsage;
    shell::Context& context = session.context;
    if (!fetchSettingsImage(session, flags->files[0])) return kInputErrorTold;
    const image::ConfigImage a = context.image;
    const std::vector<settings::Setting> settingsA = settings::readSettings(context);
    const std::optional<std::string> second =
        flags->files.size() == 2 ? std::optional(flags->files[1]) : std::nullopt;
    if (!fetchSettingsImage(session, second)) return kInputErrorTold;
    const std::vector<settings::Setting> settingsB = settings::readSettings(context);
    const settings::Difference difference =
        settings::compare(a, settingsA, context.image, settingsB);
    if (flags->json) {
        printJson(differenceJson(difference));
    } else {
        for (const std::string& line : settings::differenceLines(difference))
            std::cout << line << '\n';
        std::cout.flush();
    }
    return difference.empty() ? kSuccess : kFailed;
}

// The template: {"PAGE": {"NAME": "VALUE", ...}, ...}, or a document `settings
// --json` printed, whose settings that may be changed and show a value are taken.
std::optional<settings::Template> readTemplate(const std::string& path) {
    QFile file(fromLocal(path));
    if (!file.open(QIODevice::ReadOnly)) {
        std::cerr << "vantrel-cli: cannot read " << path << '\n';
        return std::nullopt;
    }
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        std::cerr << "vantrel-cli: " << path
                  << " is not a JSON object: " << error.errorString().toStdString() << '\n';
        return std::nullopt;
    }
    const QJsonObject root = document.object();
    settings::Template wanted;
    auto add = [&wanted](const std::string& page, const std::string& name,
                         const std::string& value) {
        if (wanted.empty() || wanted.back().first != page) wanted.push_back({page, {}});
        wanted.back().second.emplace_back(name, value);
    };
    if (root.value("settings").isArray()) {
        for (const QJsonValue& item : root.value("settings").toArray()) {
            const QJsonObject setting = item.toObject();
            if (!setting.value("changeable").toBool()) continue;
            add(toLocal(setting.value("page").toString()),
                toLocal(setting.value("name").toString()),
                toLocal(setting.value("value").toString()));
        }
        return wanted;
    }
    for (auto page = root.begin(); page != root.end(); ++page) {
        if (!page.value().isObject()) {
            std::cerr << "vantrel-cli: \"" << toLocal(page.key())
                      << "\" must hold an object of settings\n";
            return std::nullopt;
        }
        const QJsonObject values = page.value().toObject();
        for (auto value = values.begin(); value != values.end(); ++value) {
            if (!value.value().isString()) {
                std::cerr << "vantrel-cli: \"" << toLocal(page.key()) << " / "
                          << toLocal(value.key()) << "\" must be a text\n";
                return std::nullopt;
            }
            add(toLocal(page.key()), toLocal(value.key()), toLocal(value.value().toString()));
        }
    }
    return wanted;
}

// Presses the page's Send with its question answered Yes, as `page ... send` does.
// Any other question the Send asks is answered No, so that nothing beyond the
// template's values changes (a declined question that stops the Send leaves it
// without frames, which the caller counts). True when the Send asked its question
// and went through without an error dialog (a message is a note: a Send that was
// refused before the link sends no frame).
bool sendPage(CliUi& ui, ui::Screen& page) {
    const auto* configPage = dynamic_cast<const pages::ConfigPage*>(&page);
    if (!configPage) return false;
    const int errorsBefore = ui.errorCount();
    ui.script({{ui::QuestionId::SendPage, true}});
    ui.declineUnscripted(true);
    const ui::DriveResult pressed = ui::pressButton(page, kSendCaption);
    ui.declineUnscripted(false);
    const bool asked = ui.endScript();
    return pressed.ok() && asked && ui.errorCount() == errorsBefore;
}

std::string viewName(const settings::SentPage& sent) {
    return sent.view == 0 ? "\"" + sent.page + "\""
                          : "\"" + sent.page + "\" (view " + std::to_string(sent.view + 1) + ")";
}

void printPlan(const settings::Plan& plan) {
    for (const settings::Change& change : plan.changes)
        std::cout << change.key() << ": " << change.now << " -> " << change.wanted << '\n';
    for (const settings::Setting& setting : plan.asWanted)
        std::cout << "as wanted: " << settings::settingLine(setting) << '\n';
    for (const std::string& line : plan.leftOut)
        std::cout << "left out: " << line << '\n';
    std::cout.flush();
}

struct ApplyArgs {
    std::string file;
    bool dryRun = false;
    bool yes = false;
    bool withIdentity = false;
};

std::optional<ApplyArgs> parseApplyArgs(std::span<const std::string> args) {
    ApplyArgs parsed;
    for (const std::string& arg : args) {
        if (arg == "--dry-run")
            parsed.dryRun = true;
        else if (arg == "--yes")
            parsed.yes = true;
        else if (arg == "--with-identity")
            parsed.withIdentity = true;
        else if (arg.starts_with("--") || !parsed.file.empty())
            return std::nullopt;
        else
            parsed.file = arg;
    }
    if (parsed.file.empty()) return std::nullopt;
    return parsed;
}

// apply TEMPLATE.json [--dry-run] [--yes] [--with-identity]
int runApply(Session& session, std::span<const std::string> args) {
    const std::optional<ApplyArgs> parsed = parseApplyArgs(args);
    if (!parsed) return kUsage;
    const std::optional<settings::Template> wanted = readTemplate(parsed->file);
    if (!wanted) return kUsage;
    if (!fetchSettingsImage(session, std::nullopt)) return kFailed;

    const settings::Planned planned =
        settings::planTemplate(session.context, *wanted, parsed->withIdentity);
    if (planned.problem) {
        std::cerr << "vantrel-cli: " << planned.problem->text << "; nothing sent\n";
        return planned.problem->usage ? kUsage : kFailed;
    }
    const settings::Plan& plan = planned.plan;
    printPlan(plan);
    if (parsed->dryRun || plan.changes.empty()) return plan.changes.empty() ? kSuccess : kFailed;

    const std::string question = "Apply " + std::to_string(plan.changes.size()) + " changes on " +
                                 std::to_string(plan.pageCount()) + " pages to the actuator?";
    if (parsed->yes) session.ui.script({{ui::QuestionId::ApplyTemplate, true}});
    const bool confirmed =
        session.ui.question({ui::QuestionId::ApplyTemplate, question, "Apply", ui::Answer::No});
    session.ui.endScript();
    if (!confirmed) {
        std::cerr << "vantrel-cli: nothing sent (--yes answers Yes)\n";
        return kFailed;
    }

    const std::vector<settings::SentPage> sent = settings::applyPlan(
        session.context, plan, [&session](ui::Screen& page) { return sendPage(session.ui, page); },
        [](const settings::SentPage& page) {
            std::cout << (page.sent ? "sent " : "FAILED ") << viewName(page) << ": " << page.changes
                      << (page.changes == 1 ? " change, " : " changes, ") << page.frames
                      << " frames" << std::endl;
        });
    if (!sent.empty() && !sent.back().sent) {
        std::string before;
        for (std::size_t i = 0; i + 1 < sent.size(); ++i)
            before += (before.empty() ? "" : ", ") + viewName(sent[i]);
        std::cerr << "vantrel-cli: stopped at " << viewName(sent.back())
                  << "; sent before it: " << (before.empty() ? "none" : before)
                  << "; the rest not sent\n";
        return kFailed;
    }
    return kSuccess;
}

constexpr std::array<Command, 3> kCommands = {{
    {"settings", "[--from FILE.ucf] [--json]", runSettings},
    {"diff", "A.ucf [B.ucf] [--json]", runDiff},
    {"apply", "TEMPLATE.json [--dry-run] [--yes] [--with-identity]", runApply},
}};

}  // namespace

std::span<const Command> settingsCommands() {
    return kCommands;
}

}  // namespace vantrel::cli
