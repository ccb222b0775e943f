#include "PageHarness.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <deque>

#include "SimFixture.h"
#include "pages/ConfigSheet.h"
#include "registry/SheetPages.h"
#include "ui/ScreenDriver.h"

namespace vantrel::test {

namespace {

std::string frameText(const std::array<uint8_t, 11>& frame) {
    char text[32];
    std::snprintf(text, sizeof text, "%02X %02X %02X %02X %02X", frame[5], frame[6], frame[7],
                  frame[8], frame[9]);
    return text;
}

std::pair<std::string, std::string> split(const std::string& text, char at) {
    const auto cut = text.find(at);
    if (cut == std::string::npos) return {text, {}};
    return {text.substr(0, cut), text.substr(cut + 1)};
}

int pageIndex(const ui::Sheet& sheet, const std::string& title) {
    for (int i = 0; i < sheet.pageCount(); ++i)
        if (sheet.page(i).title() == title) return i;
    ADD_FAILURE() << "no page " << title;
    return 0;
}

void runStep(SimRig& rig, ui::Sheet& sheet, ui::Screen*& page, const std::string& step,
             std::deque<bool>& pending) {
    auto [verb, rest] = split(step, ' ');
    auto expectDone = [&](const ui::DriveResult& result) {
        EXPECT_TRUE(result.ok()) << step << ": " << result.problem;
    };
    if (verb == "set") {
        auto [name, value] = split(rest, '=');
        expectDone(ui::setControl(*page, name, value));
    } else if (verb == "press") {
        if (!pending.empty()) rig.ui.answers.assign(pending.begin(), pending.end());
        pending.clear();
        expectDone(ui::pressButton(*page, rest));
    } else if (verb == "answers") {
        for (std::string left = rest; !left.empty();) {
            auto [answer, more] = split(left, ',');
            EXPECT_TRUE(answer == "yes" || answer == "no") << step;
            pending.push_back(answer == "yes");
            left = more;
        }
    } else if (verb == "send" || verb == "keep" || verb == "discard") {
        if (verb == "send") rig.ui.answers = {true};
        if (verb == "keep") rig.ui.answers = {false, true};
        if (verb == "discard") rig.ui.answers = {false, false};
        rig.ui.answers.insert(rig.ui.answers.end(), pending.begin(), pending.end());
        pending.clear();
        expectDone(ui::pressButton(*page, "Send"));
    } else if (verb == "goto") {
        sheet.show(pageIndex(sheet, rest));
        page = &sheet.page(sheet.current());
    } else if (verb == "entries") {
        auto [name, count] = split(rest, '=');
        auto* list = page->find<ui::ComboBox>(name);
        ASSERT_NE(list, nullptr) << step;
        EXPECT_EQ(list->entries.size(), std::stoul(count)) << step;
    } else {
        ADD_FAILURE() << "unknown step " << step;
    }
}

}  // namespace

std::function<void(sim::Options&)> refuse(uint8_t command, std::optional<uint8_t> address) {
    return [=](sim::Options& options) {
        options.faults.refusals.push_back({command, address, 'E', -1});
    };
}

std::string rowName(const std::string& name) {
    std::string id;
    for (char c : name)
        id += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return id;
}

void runPageCase(const PageCase& row) {
    sim::Options options;
    if (row.setUp) row.setUp(options);
    SimRig rig(options);
    for (const ByteAt& byte : row.actuator)
        rig.actuator.setEeprom(byte.offset, byte.value);
    for (const ByteAt& byte : row.image)
        rig.context.image.bytes[byte.offset] = byte.value;
    rig.context.image.optionType = row.optionType;
    rig.context.image.optionFlags = row.optionFlags;
    rig.context.loginLevel = row.login;

    ui::ProgressBar progress;
    auto sheet = row.screen ? std::make_unique<ui::Sheet>("screen")
                            : pages::buildSheet(rig.context, registry::makePage, progress);
    if (row.screen) sheet->addPage(row.screen(rig.context));
    sheet->show(row.screen ? 0 : pageIndex(*sheet, row.page));
    ui::Screen* page = &sheet->page(sheet->current());
    rig.actuator.clearLog();
    std::deque<bool> pending;
    for (const std::string& step : row.steps)
        runStep(rig, *sheet, page, step, pending);

    const std::vector<std::string> shown = ui::showControls(*page);
    for (const std::string& line : row.shows)
        EXPECT_NE(std::find(shown.begin(), shown.end(), line), shown.end())
            << "not shown: " << line << "\nshown:\n"
            << ::testing::PrintToString(shown);

    std::vector<std::string> frames;
    for (const auto& frame : rig.actuator.frames())
        frames.push_back(frameText(frame));
    EXPECT_EQ(frames, row.frames);

    for (const ByteAt& byte : row.after)
        EXPECT_EQ(rig.context.image.bytes[byte.offset], byte.value) << "image byte " << byte.offset;

    std::vector<std::string> dialogs;
    for (const std::string& line : rig.ui.shown)
        if (line.starts_with("error: ") || line.starts_with("message: ")) dialogs.push_back(line);
    EXPECT_EQ(dialogs, row.dialogs);
}

}  // namespace vantrel::test
