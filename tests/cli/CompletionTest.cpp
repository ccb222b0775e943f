// completion bash: the script sourced into bash, asked to complete as bash asks it
// (COMP_WORDS, COMP_CWORD), and page TITLE --names, which it asks when completing.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "CliProcess.h"

namespace {

using clitest::Child;
using clitest::Cli;
using clitest::Result;
using clitest::linesOf;

std::vector<std::string> sorted(std::vector<std::string> words) {
    std::sort(words.begin(), words.end());
    return words;
}

class Completion : public Cli {
protected:
    void SetUp() override {
        Cli::SetUp();
        const Result r = cli({"completion", "bash"});
        ASSERT_EQ(r.status, 0) << r.err;
        script_ = home_ + "/vantrel-cli.bash";
        std::ofstream(script_) << r.out;
    }

    // What bash offers after the words, the last being the word under the cursor.
    std::vector<std::string> complete(const std::vector<std::string>& words) {
        const std::string program =
            "source /usr/share/bash-completion/bash_completion 2>/dev/null; source \"$1\"; "
            "shift; COMP_WORDS=(\"$@\"); COMP_CWORD=$(( $# - 1 )); "
            "COMP_LINE=\"$*\"; COMP_POINT=${#COMP_LINE}; _vantrel_cli; "
            "printf '%s\\n' \"${COMPREPLY[@]}\"";
        std::vector<std::string> argv = {"/bin/bash", "-c",    program,
                                         "bash",      script_, VANTREL_CLI_PATH};
        argv.insert(argv.end(), words.begin(), words.end());
        const Result r = Child(argv, home_).finish();
        EXPECT_EQ(r.status, 0) << r.err;
        std::vector<std::string> offered = linesOf(r.out);
        std::erase(offered, "");
        return sorted(offered);
    }

    std::string script_;
};

TEST_F(Completion, TheScriptRegistersAndCompletesCommandsOptionsAndTheirWords) {
    const Result registered =
        Child({"/bin/bash", "-c", "source \"$1\" && complete -p vantrel-cli", "bash", script_},
              home_)
            .finish();
    EXPECT_EQ(registered.out, "complete -F _vantrel_cli vantrel-cli\n") << registered.err;

    struct Row {
        std::vector<std::string> words;
        std::vector<std::string> offered;
    };
    const std::vector<Row> rows = {
        {{"p"}, {"page", "password", "ports"}},
        {{"da"}, {"datalog"}},
        {{"--p"}, {"--password", "--port"}},
        {{"--t"}, {"--trace"}},
        {{"--login", ""}, {"service", "user"}},
        {{"--port", "/dev/null", "--yes", "--trace", "t.log", "di"}, {"diag", "diff"}},
        {{"datalog", ""}, {"-o", "extract", "info", "reset"}},
        {{"limits", "set-"}, {"set-close", "set-open", "set-position", "set-turns"}},
        {{"ports", ""}, {"--json"}},
        {{"completion", ""}, {"bash"}},
        {{"page", "Stop"}, {"Stop\\ Settings"}},
        {{"page", "'Option - V"}, {"'Option - Vexlink 1'", "'Option - Vexlink 2'"}},
        {{"page", "Misc", "s"}, {"send", "set", "show"}},
        {{"page", "Misc", "--"}, {"--from", "--names"}},
        {{"page", "Misc", "show", "go"}, {"goto"}},
        {{"page", "Misc", "goto", "Pro"}, {"Protection"}},
        {{"page", "Misc", "done", ""}, {"-o"}},
    };
    for (const Row& row : rows) {
        std::string typed;
        for (const auto& word : row.words)
            typed += "[" + word + "]";
        SCOPED_TRACE(typed);
        EXPECT_EQ(complete(row.words), sorted(row.offered));
    }
}

TEST_F(Completion, AfterSetThePagesOwnControlNamesAreOffered) {
    const Result names = cli({"page", "Stop Settings", "--names"});
    ASSERT_EQ(names.status, 0) << names.err;
    const std::vector<std::string> all = linesOf(names.out);
    ASSERT_GT(all.size(), 5u);
    EXPECT_NE(std::find(all.begin(), all.end(), "Close Torque %"), all.end()) << names.out;

    // Quoted as the user began, each name followed by "=" for the value.
    std::vector<std::string> expected;
    for (const auto& name : all)
        if (name.starts_with("Clo")) expected.push_back("\"" + name + "=\"");
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(complete({"page", "\"Stop Settings\"", "set", "\"Clo"}), sorted(expected));
    EXPECT_EQ(complete({"page", "Stop\\ Settings", "set", "Close\\ Torque\\ "}),
              (std::vector<std::string>{"Close\\ Torque\\ %="}));
}

TEST_F(Cli, PageNamesAreTheNamesShowPrintsAndAnUnknownPageIsAUsageError) {
    const Result names = cli({"page", "Stop Settings", "--names"});
    ASSERT_EQ(names.status, 0) << names.err;
    const Result shown = cli(
        {"--simulate", "--login", "service", "--password", "w4", "page", "Stop Settings", "show"});
    ASSERT_EQ(shown.status, 0) << shown.err;
    // A name may hold ": " itself ("Boost: Full Stall"): each show line begins with
    // its name and ": ".
    const std::vector<std::string> lines = linesOf(shown.out), named = linesOf(names.out);
    ASSERT_EQ(named.size(), lines.size()) << names.out << "\n" << shown.out;
    for (size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i].rfind(named[i] + ": ", 0), 0u) << lines[i];
    EXPECT_EQ(names.err, "");

    for (const char* title : {"Single Phase", "Option - Modbus", "Multiport"}) {
        const Result r = cli({"page", title, "--names"});
        EXPECT_EQ(r.status, 0) << title << r.err;
        EXPECT_FALSE(r.out.empty()) << title;
        EXPECT_EQ(r.err, "") << title << ": nothing is sent, nothing is shown";
    }

    const Result unknown = cli({"page", "Nonsense", "--names"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("no page \"Nonsense\"; there are "), std::string::npos)
        << unknown.err;
    EXPECT_NE(unknown.err.find("\"Stop Settings\""), std::string::npos);
}

}  // namespace
