#include "PageHarness.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <sstream>

#include "SimFixture.h"
#include "image/ImageFileFormat.h"
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
    } else if (verb == "answer") {
        std::istringstream words(rest);
        for (std::string word; words >> word;) {
            EXPECT_TRUE(word == "yes" || word == "no") << step;
            pending.push_back(word == "yes");
        }
    } else if (verb == "send" || verb == "keep" || verb == "discard") {
        if (verb == "send") rig.ui.answers = {true};
        if (verb == "keep") rig.ui.answers = {false, true};
        if (verb == "discard") rig.ui.answers = {false, false};
        rig.ui.answers.insert(rig.ui.answers.end(), pending.begin(), pending.end());
        pending.clear();
        const std::size_t askedBefore = rig.ui.questionIds.size();
        expectDone(ui::pressButton(*page, "Send"));
        // The answers above go to the questions Send asks first, whatever their words.
        const std::vector<ui::QuestionId> asked(rig.ui.questionIds.begin() + askedBefore,
                                                rig.ui.questionIds.end());
        if (!asked.empty()) {
            EXPECT_EQ(asked[0], ui::QuestionId::SendPage) << step;
        }
        if (verb != "send" && asked.size() > 1) {
            EXPECT_EQ(asked[1], ui::QuestionId::KeepChanges) << step;
        }
    } else if (verb == "goto") {
        sheet.show(pageIndex(sheet, rest));
        page = &sheet.page(sheet.current());
    } else if (verb == "asked") {
        const auto& asked = rig.ui.questions;
        EXPECT_NE(std::find(asked.begin(), asked.end(), rest), asked.end())
            << "not asked: " << rest << "\nasked:\n"
            << ::testing::PrintToString(asked);
    } else if (verb == "entries") {
        auto [name, count] = split(rest, '=');
        auto* list = page->find<ui::ComboBox>(name);
        ASSERT_NE(list, nullptr) << step;
        EXPECT_EQ(list->entries().size(), std::stoul(count)) << step;
    } else if (verb == "absent") {
        for (const std::string& line : ui::showControls(*page))
            EXPECT_FALSE(line.starts_with(rest + ": ")) << step;
    } else {
        ADD_FAILURE() << "unknown step " << step;
    }
}

}  // namespace

std::function<void(sim::Options&)> refuse(uint8_t command, std::optional<uint8_t> address,
                                          char status) {
    return [=](sim::Options& options) {
        options.faults.refusals.push_back({command, address, status, -1});
    };
}

std::string rowName(const std::string& name) {
    std::string id;
    for (char c : name)
        id += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return id;
}

std::vector<PageCase> failureRows(const PageCase& whole) {
    std::vector<PageCase> rows;
    for (std::size_t failing = 0; failing < whole.frames.size(); ++failing) {
        const std::string& frame = whole.frames[failing];
        const auto command = static_cast<uint8_t>(std::stoul(frame.substr(0, 2), nullptr, 16));
        const auto address = static_cast<uint8_t>(std::stoul(frame.substr(3, 2), nullptr, 16));
        PageCase row = whole;
        row.name = whole.name + " fails at frame " + std::to_string(failing + 1);
        row.frames.resize(failing + 1);
        row.dialogs.push_back("error: EEPROM Error");
        row.setUp = refuse(command, address);
        rows.push_back(std::move(row));
    }
    return rows;
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
    if (!row.file.empty()) {
        const auto* data = reinterpret_cast<const uint8_t*>(row.file.data());
        EXPECT_TRUE(image::parseImageFile(rig.context.image, {data, row.file.size()}));
    }
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
