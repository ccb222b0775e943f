#pragma once
// What every benchmark needs: a Ui that shows nothing but prints what goes wrong
// and answers with one file, and a Context wired to a simulated actuator.
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "link/Commands.h"
#include "link/LinkPort.h"
#include "shell/Context.h"
#include "shell/Settings.h"
#include "sim/Actuator.h"
#include "sim/PtyServer.h"
#include "ui/Ui.h"

namespace vantrel::bench {

using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;

class QuietUi : public ui::Ui {
public:
    explicit QuietUi(std::string file, bool answer) : file_(std::move(file)), answer_(answer) {}
    int errors = 0;

    void message(ui::MessageKind, const std::string& text, const std::string&, ui::Icon) override {
        std::fprintf(stderr, "  message: %s\n", text.c_str());
    }
    bool question(const ui::Question&) override { return answer_; }
    void error(const std::string& text) override {
        ++errors;
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
    bool answer_;
};

// A fresh actuator on its own pseudo-terminal and a Context that talks to it; the
// file dialogs answer with a temporary file, removed again at the end.
struct Rig {
    Rig(const sim::Options& options, const std::string& extension, bool answer = true)
        : stem((std::filesystem::temp_directory_path() /
                ("vantrel-bench-" + std::to_string(::getpid())))
                   .string()),
          file(stem + "." + extension),
          ui(file, answer),
          settings(stem + ".ini"),
          actuator(options),
          server(actuator),
          context(ui, settings) {
        started = server.start();
        if (!started) std::fprintf(stderr, "no pseudo-terminal for the simulated actuator\n");
        context.portName = server.path();
    }
    ~Rig() {
        std::filesystem::remove(file);
        std::filesystem::remove(stem + ".ini");
    }

    // The wire time of every frame and reply the actuator saw, plus record bytes.
    Seconds wireTime(int64_t recordBytes) const {
        const auto frames = static_cast<int64_t>(actuator.frames().size());
        return sim::kByteTime *
               (frames * (link::kCommandFrameBytes + link::kReplyFrameBytes) + recordBytes);
    }

    // Sends the frames the actuator received last once more over a LinkPort, with
    // nothing between them: the fastest any chain of these frames can go.
    Seconds bareLoop() {
        const auto frames = actuator.frames();
        actuator.clearLog();
        const auto start = Clock::now();
        link::LinkPort link(context);
        for (const auto& f : frames)
            if (!link.sendCommand(f[5], f[6], f[7], f[8], f[9], true)) break;
        link.close();
        return Clock::now() - start;
    }

    std::string stem;
    std::string file;
    QuietUi ui;
    shell::Settings settings;
    sim::Actuator actuator;
    sim::PtyServer server;
    shell::Context context;
    bool started = false;
};

}  // namespace vantrel::bench
