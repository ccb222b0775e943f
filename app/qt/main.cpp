// vantrel: the tool with its Qt screens.
//   vantrel [--port DEVICE] [--simulate] [--trace FILE] [--help]
#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QMessageBox>
#include <optional>

#include "Artwork.h"
#include "QtUi.h"
#include "StatusBar.h"
#include "TextCodec.h"
#include "registry/ScreenRegistry.h"
#include "settings/SettingsDiff.h"
#include "shell/Context.h"
#include "shell/Locale.h"
#include "shell/Settings.h"
#include "sim/Actuator.h"
#include "sim/PtyServer.h"

namespace {
constexpr const char* kPortValue = "Port";
}

int main(int argc, char* argv[]) {
    using namespace vantrel;
    QApplication app(argc, argv);
    // QApplication has taken the whole locale from the environment, numbers
    // included; numbers go back to the C notation, as in the other programs.
    shell::useEnvironmentLocale();
    QApplication::setApplicationName(QStringLiteral("Rudozi Vantrel"));
    QApplication::setApplicationVersion(QStringLiteral(VANTREL_VERSION));
    QApplication::setWindowIcon(qt::appIcon());
    // The tool is a chain of modal screens: the gap between two of them must not end it.
    QApplication::setQuitOnLastWindowClosed(false);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Configuration and service tool for motorised valve actuators."));
    parser.addHelpOption();
    QCommandLineOption portOption(QStringLiteral("port"),
                                  QStringLiteral("The serial device of the actuator link."),
                                  QStringLiteral("DEVICE"));
    QCommandLineOption simulateOption(
        QStringLiteral("simulate"),
        QStringLiteral("Talk to a simulated actuator in this program."));
    QCommandLineOption traceOption(
        QStringLiteral("trace"),
        QStringLiteral("Write every frame and record exchanged with the actuator to FILE."),
        QStringLiteral("FILE"));
    parser.addOption(portOption);
    parser.addOption(simulateOption);
    parser.addOption(traceOption);
    parser.process(app);

    shell::Settings settings(shell::Settings::defaultPath());
    qt::QtUi ui;
    shell::Context context(ui, settings);
    context.portName = parser.isSet(portOption) ? qt::toLatin1(parser.value(portOption))
                                                : settings.read(shell::kSettingsSection, kPortValue,
                                                                shell::kDefaultPortName);

    qt::showStatusOf(context);
    ui.portErrorReason = [&context] { return context.port.errorText(); };
    link::LinkTrace trace;
    if (parser.isSet(traceOption)) {
        if (!trace.open(QFile::encodeName(parser.value(traceOption)).toStdString())) {
            QMessageBox::critical(nullptr, QApplication::applicationName(),
                                  QStringLiteral("Cannot write the trace ") +
                                      QString::fromStdString(trace.errorText()));
            return 1;
        }
        context.trace = &trace;
    }

    std::optional<sim::Actuator> actuator;
    std::optional<sim::PtyServer> server;
    if (parser.isSet(simulateOption)) {
        actuator.emplace();
        server.emplace(*actuator);
        if (!server->start()) {
            QMessageBox::critical(nullptr, QApplication::applicationName(),
                                  QStringLiteral("The simulated actuator could not be started."));
            return 1;
        }
        context.portName = server->path();
    }

    context.markDifferences = [&context](ui::Sheet& sheet, const image::ConfigImage& other) {
        settings::markDifferences(context, sheet, other);
    };
    registry::runProgram(context);
    return 0;
}
