#pragma once
// A fresh Context (scripted dialogs, settings in a temporary file) wired to the
// far end of a real pseudo-terminal.
#include <gtest/gtest.h>

#include <unistd.h>
#include <chrono>
#include <filesystem>
#include <memory>

#include "FarEnd.h"
#include "ScriptedUi.h"
#include "shell/Context.h"
#include "shell/Settings.h"

namespace vantrel::test {

class LinkFixture : public ::testing::Test {
protected:
    LinkFixture()
        : settingsPath_(std::filesystem::temp_directory_path() /
                        ("vantrel-link-" + std::to_string(::getpid()) + ".ini")),
          settings_(settingsPath_.string()),
          context_(ui_, settings_) {
        context_.portName = farEnd_.path();
    }
    ~LinkFixture() override { std::filesystem::remove(settingsPath_); }

    void SetUp() override { ASSERT_TRUE(farEnd_.ok()) << "no pseudo-terminal available"; }

    // Answers every frame with the same steps.
    void answerEvery(std::vector<FarEnd::Step> steps) {
        farEnd_.serve([steps](const Frame&) { return steps; });
    }

    static double secondsSince(std::chrono::steady_clock::time_point start) {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }

    std::filesystem::path settingsPath_;
    ScriptedUi ui_;
    shell::Settings settings_;
    shell::Context context_;
    FarEnd farEnd_;
};

}  // namespace vantrel::test
