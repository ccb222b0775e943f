// Whole-image extract and update against the simulated actuator paced at 115200
// baud, as a ratio to the wire time of the bytes exchanged: every command frame and
// its reply, and the configuration records.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "image/ImageFile.h"
#include "image/ImageTransfer.h"
#include "link/Commands.h"
#include "shell/Context.h"
#include "shell/Settings.h"
#include "sim/Actuator.h"
#include "sim/PtyServer.h"
#include "ui/Ui.h"

namespace {

using namespace vantrel;
using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;

// A Ui that answers Yes and both file dialogs with one path, and shows what goes wrong.
class QuietUi : public ui::Ui {
public:
    explicit QuietUi(std::string file) : file_(std::move(file)) {}
    void message(const std::string& text, const std::string&, ui::Icon) override {
        std::fprintf(stderr, "  message: %s\n", text.c_str());
    }
    bool question(const std::string&, const std::string&) override { return true; }
    void error(const std::string& text) override {
        std::fprintf(stderr, "  error: %s\n", text.c_str());
    }
    std::optional<std::string> saveFile(const ui::FileDialog&) override { return file_; }
    std::optional<std::string> openFile(const ui::FileDialog&) override { return file_; }
    void play(ui::Sound) override {}
    void setBusy(bool) override {}
    void refresh() override {}
    void run(ui::Screen&) override {}
    void run(ui::Sheet&) override {}

private:
    std::string file_;
};

struct Scenario {
    const char* name;
    sim::Options options;
};

// Runs one operation against a fresh paced actuator and prints its ratios.
bool measure(const Scenario& scenario, const char* operation,
             const std::function<bool(shell::Context&)>& run, int recordBytes) {
    sim::Options options = scenario.options;
    options.pace = true;
    sim::Actuator actuator(options);
    sim::PtyServer server(actuator);
    if (!server.start()) {
        std::fprintf(stderr, "no pseudo-terminal for the simulated actuator\n");
        return false;
    }
    const auto folder = std::filesystem::temp_directory_path();
    const std::string stem = "bench-image-" + std::to_string(::getpid());
    const std::string file = (folder / (stem + ".ucf")).string();
    shell::Settings settings((folder / (stem + ".ini")).string());
    QuietUi quiet(file);
    shell::Context context(quiet, settings);
    context.portName = server.path();
    context.loginLevel = shell::kUser;
    // The update writes the image of a file: make one from the actuator first.
    if (std::string(operation) == "update") {
        if (!image::extractImage(context) || !image::saveImageFile(context)) return false;
        actuator.clearLog();
    }

    const auto start = Clock::now();
    const bool done = run(context);
    const auto elapsed = Clock::now() - start;
    std::filesystem::remove(file);
    if (!done) {
        std::fprintf(stderr, "%s %s did not complete\n", scenario.name, operation);
        return false;
    }

    const auto frames = static_cast<int64_t>(actuator.frames().size());
    const int64_t bytes =
        frames * (link::kCommandFrameBytes + link::kReplyFrameBytes) + recordBytes;
    const Seconds wire = sim::kByteTime * bytes;
    // The simulator paces only what it sends; the tool's frames cross the terminal at once.
    const Seconds actuatorWire = sim::kByteTime * (frames * link::kReplyFrameBytes + recordBytes);
    std::printf(
        "%-22s %-7s %4lld frames %6lld bytes  wire %.3f s  elapsed %.3f s  ratio %.3f"
        "  (to paced output alone %.3f)\n",
        scenario.name, operation, static_cast<long long>(frames), static_cast<long long>(bytes),
        wire.count(), Seconds(elapsed).count(), Seconds(elapsed) / wire,
        Seconds(elapsed) / actuatorWire);
    return true;
}

sim::Options options(sim::Generation generation, char letter, char variant, bool partTurn) {
    sim::Options o;
    o.generation = generation;
    o.card.letter = letter;
    o.card.variant = variant;
    o.card.busKind = 2;
    o.partTurn = partTurn;
    return o;
}

}  // namespace

int main() {
    const Scenario scenarios[] = {
        {"Pro, no option card", options(sim::Generation::Pro, 0, '1', false)},
        {"ZR2, multiport, ZRT", options(sim::Generation::ZR2, 'M', 'P', true)},
    };
    bool ok = true;
    for (const auto& scenario : scenarios) {
        ok = measure(scenario, "extract", image::extractImage, link::kBurstBytes) && ok;
        ok = measure(scenario, "update", image::updateImage, 0) && ok;
    }
    return ok ? 0 : 1;
}
