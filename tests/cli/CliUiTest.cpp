// How vantrel-cli answers questions: a step's script by what each question asks,
// --yes only the questions no step is there to answer, and a scripted answer never
// asked leaves the script unfinished. Standard input is no terminal here, so what
// neither answers is No.
#include "CliUi.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

using vantrel::cli::CliUi;
using vantrel::ui::MessageKind;
using vantrel::ui::Question;
using enum vantrel::ui::QuestionId;

struct Row {
    std::string name;
    bool assumeYes;
    std::vector<CliUi::ScriptedAnswer> script;
    std::vector<Question> asked;
    std::vector<bool> answers;
    bool scriptUsed = true;  // what endScript says
};

std::ostream& operator<<(std::ostream& out, const Row& row) {
    return out << row.name;
}

const Question kSend{
    SendPage, "Do you want to send data on this page to Actuator? Excludes cal values ", "Update"};
const Question kKeep{KeepChanges, "Do you want to keep changes?", "Update"};
const Question kSave{SaveToFile, "Do you want to Save to file?", "Update"};
const Question kAutoCal{OnTheWay, "Auto-cal?", "Multiport"};
const Question kOverwrite{OverwriteEeprom, "This will over write the WHOLE of the EEPROM",
                          "Extract"};

const Row kRows[] = {
    {"SendAnswersByWhatIsAskedWhateverTheWording", false, {{SendPage, true}}, {kSend}, {true}},
    {"DiscardUnderYesStaysNo",
     true,
     {{SendPage, false}, {KeepChanges, false}},
     {kSend, kAutoCal, kKeep},
     {false, true, false}},
    {"YesNeverAnswersAStepsQuestion", true, {}, {kSend, kKeep, kSave}, {false, false, false}},
    {"YesAnswersQuestionsOnTheWayAndConfirmations", true, {}, {kAutoCal, kOverwrite}, {true, true}},
    {"WithoutYesEveryOtherQuestionIsNo", false, {}, {kAutoCal, kOverwrite}, {false, false}},
    {"AnotherQuestionDoesNotTakeTheScriptedAnswer",
     true,
     {{SendPage, true}},
     {kSave},
     {false},
     false},
    {"AnAnswerNeverAskedLeavesTheScriptUnfinished",
     false,
     {{SendPage, false}, {KeepChanges, true}},
     {kSend},
     {false},
     false},
};

class CliAnswers : public ::testing::TestWithParam<Row> {};

TEST_P(CliAnswers, Questions) {
    const Row& row = GetParam();
    CliUi ui(row.assumeYes);
    ui.script(row.script);
    std::vector<bool> answers;
    std::vector<std::string> texts;
    for (const Question& question : row.asked) {
        answers.push_back(ui.question(question));
        texts.push_back(question.text);
    }
    EXPECT_EQ(answers, row.answers);
    EXPECT_EQ(ui.askedInScript(), texts);
    EXPECT_EQ(ui.endScript(), row.scriptUsed);
    EXPECT_TRUE(ui.askedInScript().empty());
}

INSTANTIATE_TEST_SUITE_P(Rows, CliAnswers, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return info.param.name; });

TEST(CliMessages, OnlyRefusalsAndErrorsFailAStep) {
    CliUi ui(false);
    ui.message(MessageKind::Note, "Note Ports are NOT in ascending order", {}, {});
    EXPECT_EQ(ui.failureCount(), 0);
    ui.message(MessageKind::Refusal, "Turns out of range.", {}, {});
    ui.error("EEPROM Error");
    EXPECT_EQ(ui.failureCount(), 2);
}

}  // namespace
