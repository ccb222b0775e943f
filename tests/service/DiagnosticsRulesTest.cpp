#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "ScriptedUi.h"
#include "service/Diagnostics.h"
#include "shell/Settings.h"

namespace vantrel::service {
namespace {

std::set<std::string> lit(const DiagnosticReadings& readings) {
    std::set<std::string> names;
    const auto lamps = litIndicators(readings);
    for (int i = 0; i < kIndicatorCount; ++i)
        if (lamps[i]) names.insert(kIndicatorTexts[i]);
    return names;
}

DiagnosticReadings quiet() {
    return {0, 0, 0, 0x18, 0};
}

TEST(DiagnosticsRules, EachStatusBitLightsItsIndicator) {
    const std::map<int, std::string> expected = {{0, "Position error"},
                                                 {1, "EEPROM error"},
                                                 {2, "EEPROM error"},
                                                 {4, "Batt low on Pup"},
                                                 {5, "Local fault"},
                                                 {7, "Phase Loss"},
                                                 {9, "Torque Transducer fault"},
                                                 {10, "Watchdog"},
                                                 {11, "Local fault"},
                                                 {12, "Local fault"},
                                                 {13, "Battery Flat/Low"},
                                                 {14, "Battery Flat/Low"},
                                                 {15, "ESD Active"}};
    for (int bit = 0; bit < 16; ++bit) {
        auto readings = quiet();
        readings.status = static_cast<uint16_t>(1u << bit);
        const auto it = expected.find(bit);
        // Bits 3, 6 and 8 are not shown.
        const std::set<std::string> want =
            it == expected.end() ? std::set<std::string>{} : std::set<std::string>{it->second};
        EXPECT_EQ(lit(readings), want) << "status bit " << bit;
    }
}

TEST(DiagnosticsRules, CombinedStatusWordsLightOneIndicatorOnce) {
    auto readings = quiet();
    readings.status = 0x1800;
    EXPECT_EQ(lit(readings), std::set<std::string>{"Local fault"});
    readings.status = 0x0006;
    EXPECT_EQ(lit(readings), std::set<std::string>{"EEPROM error"});
}

TEST(DiagnosticsRules, OtherValuesUseOnlyTheirOwnBits) {
    auto readings = quiet();
    readings.stall = 0xFFFD;  // every bit but bit 1
    readings.torqueOff = 0xF3;
    EXPECT_TRUE(lit(readings).empty());
    readings.stall = 0x0002;
    readings.torqueOff = 0x0C;
    readings.input = 0x98;
    EXPECT_EQ(lit(readings),
              (std::set<std::string>{"Stalled", "Toff Open", "Toff Close", "T-stat trip"}));
    readings.torqueOff = 0x04;
    EXPECT_EQ(lit(readings), (std::set<std::string>{"Stalled", "Toff Close", "T-stat trip"}));
}

TEST(DiagnosticsRules, InhibitsNeedInterlocksEnabledAndTheirInputClear) {
    auto readings = quiet();
    for (int input : {0x00, 0x08, 0x10, 0x18, 0xE7}) {
        readings.input = static_cast<uint8_t>(input);
        readings.interlock = 0xBF;  // every bit but bit 6
        EXPECT_EQ(lit(readings).count("OIL-Open Inhibited"), 0u) << input;
        EXPECT_EQ(lit(readings).count("CIL-Close Inhibited"), 0u) << input;
    }
    readings.interlock = 0x40;
    readings.input = 0x18;
    EXPECT_TRUE(lit(readings).empty());
    readings.input = 0x00;
    EXPECT_EQ(lit(readings), (std::set<std::string>{"OIL-Open Inhibited", "CIL-Close Inhibited"}));
    readings.input = 0x10;
    EXPECT_EQ(lit(readings), std::set<std::string>{"OIL-Open Inhibited"});
    readings.input = 0x08;
    EXPECT_EQ(lit(readings), std::set<std::string>{"CIL-Close Inhibited"});
}

TEST(DiagnosticsRules, ValuesThatFailedToReadLightNothing) {
    DiagnosticReadings readings;  // nothing read
    EXPECT_TRUE(lit(readings).empty());
    // Interlocks enabled but the input byte unread: the inhibits cannot be known.
    readings.interlock = 0x40;
    EXPECT_TRUE(lit(readings).empty());
    readings = {};
    readings.input = 0x00;
    EXPECT_TRUE(lit(readings).empty());
}

TEST(DiagnosticsScreen, OpensClearInTwoColumnsWithoutTalkingToTheActuator) {
    // The screen is built with a context whose port cannot exist: any link traffic
    // on opening would show "Port did not open".
    test::ScriptedUi ui;
    shell::Settings settings("/nonexistent/settings.ini");
    shell::Context context(ui, settings);
    context.portName = "/nonexistent/port";
    CDiagnostics screen(context);
    screen.setUp();
    EXPECT_EQ(screen.title(), "Diagnostics ");
    EXPECT_TRUE(ui.shown.empty());
    const auto& lamps = screen.sections().front();
    EXPECT_EQ(lamps.columns, 2);
    EXPECT_TRUE(lamps.columnMajor);
    const std::vector<std::string> texts = {"Position error",
                                            "EEPROM error",
                                            "Watchdog",
                                            "Batt low on Pup",
                                            "Battery Flat/Low",
                                            "ESD Active",
                                            "OIL-Open Inhibited",
                                            "CIL-Close Inhibited",
                                            "Torque Transducer fault",
                                            "Local fault",
                                            "T-stat trip",
                                            "Phase Loss",
                                            "Stalled",
                                            "Toff Open",
                                            "Toff Close"};
    ASSERT_EQ(lamps.controls.size(), texts.size());
    for (size_t i = 0; i < texts.size(); ++i) {
        auto* lamp = dynamic_cast<ui::Lamp*>(lamps.controls[i]);
        ASSERT_TRUE(lamp);
        EXPECT_EQ(lamp->text, texts[i]);
        EXPECT_FALSE(lamp->lit);
    }
    EXPECT_TRUE(screen.find("Update"));
    EXPECT_FALSE(screen.get<ui::Button>("help").visible);
}

}  // namespace
}  // namespace vantrel::service
