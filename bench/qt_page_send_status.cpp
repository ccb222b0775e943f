// A page's Send through the Qt front end, from the click on "Send" to its status line
// on screen, against the simulated actuator paced at 115200 baud; beside the wire
// time of the frames and replies exchanged.
#include <QApplication>
#include <QPushButton>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "QtUi.h"
#include "SheetView.h"
#include "StatusBar.h"
#include "TextCodec.h"
#include "link/Commands.h"
#include "pages/ConfigSheet.h"
#include "registry/SheetPages.h"
#include "shell/Settings.h"
#include "sim/Actuator.h"
#include "sim/PtyServer.h"

namespace {

using namespace vantrel;
using Clock = std::chrono::steady_clock;
using Ms = std::chrono::duration<double, std::milli>;

constexpr int kRounds = 15;

// Answers Yes to Send's question without showing it, as a person would at once.
class YesUi : public qt::QtUi {
public:
    bool question(const ui::Question&) override { return true; }
};

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    sim::Options options;
    options.pace = true;
    sim::Actuator actuator(options);
    sim::PtyServer server(actuator);
    if (!server.start()) return 1;
    const std::string ini =
        (std::filesystem::temp_directory_path() / "vantrel-bench-status.ini").string();
    shell::Settings settings(ini);
    YesUi ui;
    shell::Context context(ui, settings);
    context.portName = server.path();
    context.loginLevel = shell::kService;
    qt::showStatusOf(context);

    ui::ProgressBar progress;
    auto sheet = pages::buildSheet(context, registry::makePage, progress);
    qt::SheetView view(*sheet);
    view.show();
    QApplication::processEvents();
    auto* bar = view.findChild<qt::StatusBar*>();
    QPushButton* send = nullptr;
    for (auto* button : view.panel(0)->findChildren<QPushButton*>())
        if (button->text().remove(QLatin1Char('&')) == QStringLiteral("Send")) send = button;
    if (!bar || !send) return 1;

    std::vector<double> clicks, wires;
    size_t frames = 0;
    for (int round = 0; round < kRounds; ++round) {
        context.status = "before";
        actuator.clearLog();
        const auto start = Clock::now();
        send->click();
        bar->grab();  // the status line painted
        const auto end = Clock::now();
        if (!bar->outcomeText().startsWith(QStringLiteral("Stop Settings sent"))) {
            std::fprintf(stderr, "unexpected status: %s\n",
                         qt::toLatin1(bar->outcomeText()).c_str());
            return 1;
        }
        frames = actuator.frames().size();
        clicks.push_back(Ms(end - start).count());
        wires.push_back(
            std::chrono::duration_cast<Ms>(
                sim::kByteTime *
                static_cast<int64_t>(frames * (link::kCommandFrameBytes + link::kReplyFrameBytes)))
                .count());
    }
    qt::StatusBar::setSource({});
    std::filesystem::remove(ini);
    const double click = median(clicks), wire = median(wires);
    std::printf(
        "Stop Settings Send, click to status line \"%s\": %zu frames, median %.1f ms "
        "(fastest %.1f, slowest %.1f); wire time %.1f ms; ratio %.3f\n",
        qt::toLatin1(bar->outcomeText()).c_str(), frames, click,
        *std::min_element(clicks.begin(), clicks.end()),
        *std::max_element(clicks.begin(), clicks.end()), wire, click / wire);
    return 0;
}
