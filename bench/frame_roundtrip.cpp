// Frame round trips per second over a pseudo-terminal without pacing, against the
// simulated actuator: how much of a frame's time the software itself takes.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "link/Commands.h"
#include "link/LinkPort.h"
#include "shell/Context.h"
#include "shell/Settings.h"
#include "sim/Actuator.h"
#include "sim/PtyServer.h"
#include "ui/Ui.h"

namespace {

using namespace vantrel;
using Clock = std::chrono::steady_clock;

constexpr int kWarmUpFrames = 200;
constexpr std::chrono::seconds kRunFor{2};
constexpr double kTarget = 10000.0;  // round trips a second
// A command frame and its reply on the wire: 23 bytes of 10 bits at 115200 baud.
constexpr double kWireSecondsPerFrame =
    (link::kCommandFrameBytes + link::kReplyFrameBytes) * 10.0 / 115200.0;

// Dialogs have nowhere to go in a benchmark: count errors so a failing run shows.
class SilentUi : public ui::Ui {
public:
    int errors = 0;
    void message(const std::string& text, const std::string&, ui::Icon) override {
        std::fprintf(stderr, "message: %s\n", text.c_str());
    }
    bool question(const std::string&, const std::string&) override { return false; }
    void error(const std::string& text) override {
        ++errors;
        std::fprintf(stderr, "error: %s\n", text.c_str());
    }
    std::optional<std::string> saveFile(const ui::FileDialog&) override { return {}; }
    std::optional<std::string> openFile(const ui::FileDialog&) override { return {}; }
    void play(ui::Sound) override {}
    void setBusy(bool) override {}
    void refresh() override {}
    void run(ui::Screen&) override {}
    void run(ui::Sheet&) override {}
};

}  // namespace

int main() {
    sim::Actuator actuator;
    sim::PtyServer server(actuator);
    if (!server.start()) {
        std::fprintf(stderr, "no pseudo-terminal available\n");
        return 1;
    }
    SilentUi ui;
    const auto settingsPath = std::filesystem::temp_directory_path() / "vantrel-bench.ini";
    shell::Settings settings(settingsPath.string());
    shell::Context context(ui, settings);
    context.portName = server.path();

    link::LinkPort port(context);
    for (int i = 0; i < kWarmUpFrames; ++i)
        if (!port.sendCommand(link::READ_REGISTER, static_cast<uint8_t>(i % 64), 0, 0, 0, true))
            return 1;

    long frames = 0;
    const auto start = Clock::now();
    auto elapsed = Clock::duration{};
    while (elapsed < kRunFor) {
        if (!port.sendCommand(link::READ_REGISTER, static_cast<uint8_t>(frames % 64), 0, 0, 0,
                              true))
            return 1;
        ++frames;
        elapsed = Clock::now() - start;
    }
    const double seconds = std::chrono::duration<double>(elapsed).count();
    const double perSecond = frames / seconds;
    const double perFrame = seconds / frames;
    std::printf("frame round trips: %ld in %.2f s = %.0f per second (target %.0f): %s\n", frames,
                seconds, perSecond, kTarget, perSecond >= kTarget ? "met" : "NOT met");
    std::printf("time per frame: %.1f us = %.4f of the %.3f ms wire time of a frame\n",
                perFrame * 1e6, perFrame / kWireSecondsPerFrame, kWireSecondsPerFrame * 1e3);
    std::filesystem::remove(settingsPath);
    return ui.errors == 0 ? 0 : 1;
}
