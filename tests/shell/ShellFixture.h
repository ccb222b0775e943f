#pragma once
// A Context with the scripted Ui and a settings file of its own, for screens that
// need no actuator.
#include <filesystem>
#include <string>

#include "ScriptedUi.h"
#include "shell/Context.h"
#include "shell/Settings.h"

namespace vantrel::test {

class ShellFixture {
public:
    ShellFixture()
        : directory_(makeDirectory()),
          settings((directory_ / "Rudozi Vantrel.ini").string()),
          context(ui, settings) {
        // Nothing here talks to an actuator; a port that cannot exist makes sure of it.
        context.portName = (directory_ / "no-port").string();
    }
    ~ShellFixture() {
        std::error_code ec;
        std::filesystem::remove_all(directory_, ec);
    }

    const std::filesystem::path& directory() const { return directory_; }

private:
    static std::filesystem::path makeDirectory() {
        std::string pattern = (std::filesystem::temp_directory_path() / "shell-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("no temporary directory");
        return pattern;
    }

    std::filesystem::path directory_;

public:
    ScriptedUi ui;
    shell::Settings settings;
    shell::Context context;
};

}  // namespace vantrel::test
