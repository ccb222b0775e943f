// The one error report: which message wins, what it clears, what it plays.
#include <gtest/gtest.h>

#include <filesystem>

#include "ScriptedUi.h"
#include "link/ErrorFlags.h"
#include "link/Report.h"
#include "shell/Context.h"

namespace vantrel::test {
namespace {

using namespace link;

TEST(ErrorMessage, PriorityDecidesTheOneMessage) {
    EXPECT_EQ(errorMessage(kEventNotRx | kPortNotOpen), "Event Not RX");
    EXPECT_EQ(errorMessage(kEventNotRx | kChecksumBad | kIncorrectPassword), "Event Not RX");
    EXPECT_EQ(errorMessage(kReadFailed | kEepromError), "Could Not Read from Port");
    EXPECT_EQ(errorMessage(kOptionCommsError | kIncorrectPassword), "Incorrect Password entered");
    EXPECT_EQ(errorMessage(kFileIncomplete | kBlockCrcWrong), "EEPROM file not complete");
    EXPECT_EQ(errorMessage(kWriteFailed | kFileOpenFailed), "Could Not Write To Port");
    EXPECT_EQ(errorMessage(kAccessDenied | kOptionCommsError), "Unable to update, access denied");
    EXPECT_EQ(errorMessage(0), "ERROR");
    EXPECT_EQ(errorMessage(0x2000 | 0x8000), "ERROR") << "unknown bits have no message";
}

TEST(ReportLinkError, ClearsBeforeShowingAndEndsTheBusyCursor) {
    ScriptedUi ui;
    shell::Settings settings(
        (std::filesystem::temp_directory_path() / "vantrel-report.ini").string());
    shell::Context context(ui, settings);
    ui.setBusy(true);
    context.errorFlags = kReadFailed | kEepromError | 0x2000 | 0x4000;

    reportLinkError(context);
    EXPECT_FALSE(ui.busy);
    EXPECT_EQ(ui.sounds, std::vector<ui::Sound>{ui::Sound::Critical});
    EXPECT_EQ(ui.errors, std::vector<std::string>{"Could Not Read from Port"});
    EXPECT_EQ(context.errorFlags, 0x4000u) << "only bits 0x0001..0x2000 are cleared";

    reportLinkError(context);
    EXPECT_EQ(ui.errors.back(), "ERROR");
}

}  // namespace
}  // namespace vantrel::test
