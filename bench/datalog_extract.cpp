// Datalogger extraction of both generations against the simulated actuator paced
// at 115200 baud, as a ratio to the wire time of the bytes exchanged: every command
// frame and its reply, and the 155 records. For a ZR2 the pauses the actuator puts
// between its blocks are left out, since no receiver can make them shorter.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "datalog/DatalogData.h"
#include "datalog/Dataloggermenu.h"
#include "link/Commands.h"
#include "shell/Context.h"
#include "shell/Settings.h"
#include "sim/Actuator.h"
#include "sim/PtyServer.h"
#include "ui/Ui.h"

namespace {

using namespace vantrel;
using Clock = std::chrono::steady_clock;

// A Ui that shows nothing and answers the save dialog with one path.
class QuietUi : public ui::Ui {
public:
    explicit QuietUi(std::string file) : file_(std::move(file)) {}
    void message(const std::string& text, const std::string&, ui::Icon) override {
        std::fprintf(stderr, "  message: %s\n", text.c_str());
    }
    bool question(const std::string&, const std::string&) override { return false; }
    void error(const std::string& text) override {
        std::fprintf(stderr, "  error: %s\n", text.c_str());
    }
    std::optional<std::string> saveFile(const ui::FileDialog&) override { return file_; }
    std::optional<std::string> openFile(const ui::FileDialog&) override { return std::nullopt; }
    void play(ui::Sound) override {}
    void setBusy(bool) override {}
    void refresh() override {}
    void run(ui::Screen&) override {}
    void run(ui::Sheet&) override {}

private:
    std::string file_;
};

// The pauses a ZR2 puts between the blocks of one group.
std::chrono::milliseconds zr2Gaps() {
    int gaps = 0;
    for (const auto& group : datalog::kGroups)
        gaps += group.count - 1;
    return std::chrono::milliseconds(gaps * sim::kRecordGapMs);
}

bool measure(sim::Generation generation, const char* name) {
    sim::Options options;
    options.generation = generation;
    options.pace = true;
    sim::Actuator actuator(options);
    sim::PtyServer server(actuator);
    if (!server.start()) {
        std::fprintf(stderr, "no pseudo-terminal for the simulated actuator\n");
        return false;
    }
    const auto folder = std::filesystem::temp_directory_path();
    const std::string file =
        (folder / ("bench-datalog-" + std::to_string(::getpid()) + ".dfg")).string();
    shell::Settings settings(
        (folder / ("bench-datalog-" + std::to_string(::getpid()) + ".ini")).string());
    QuietUi quiet(file);
    shell::Context context(quiet, settings);
    context.portName = server.path();
    datalog::CDataloggermenu screen(context);

    const auto start = Clock::now();
    screen.click("Extract");
    const auto elapsed = Clock::now() - start;
    std::filesystem::remove(file);
    if (screen.lastOutcome() != datalog::CDataloggermenu::Outcome::Saved) {
        std::fprintf(stderr, "%s: the extraction did not complete\n", name);
        return false;
    }

    using Seconds = std::chrono::duration<double>;
    const auto frames = static_cast<int64_t>(actuator.frames().size());
    const int64_t records = int64_t{datalog::kSlotCount} * link::kRecordBytes;
    const int64_t bytes = frames * (link::kCommandFrameBytes + link::kReplyFrameBytes) + records;
    const Seconds wire = sim::kByteTime * bytes;
    // The simulator paces only what it sends; the tool's frames cross the terminal at once.
    const Seconds actuatorWire = sim::kByteTime * (frames * link::kReplyFrameBytes + records);
    const Seconds gaps =
        generation == sim::Generation::ZR2 ? zr2Gaps() : std::chrono::milliseconds(0);
    const Seconds spent = elapsed - gaps;
    std::printf("%-4s datalog extraction: %lld bytes, wire %.3f s, elapsed %.3f s (gaps %.3f s)\n",
                name, static_cast<long long>(bytes), wire.count(), Seconds(elapsed).count(),
                gaps.count());
    std::printf("     ratio to the wire time %.3f (to the actuator's paced output alone %.3f)\n",
                spent / wire, spent / actuatorWire);
    return true;
}

}  // namespace

int main() {
    const bool pro = measure(sim::Generation::Pro, "Pro");
    const bool zr2 = measure(sim::Generation::ZR2, "ZR2");
    return pro && zr2 ? 0 : 1;
}
