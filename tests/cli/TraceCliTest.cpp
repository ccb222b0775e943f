// --trace: the frames and records of a run written as they happen, so that a run
// killed half-way leaves its trace up to the frame it was waiting on.
#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "CliProcess.h"

namespace {

using clitest::Child;
using clitest::Cli;
using clitest::Result;
using clitest::linesOf;

std::string readAll(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The frame the actuator never answers: the extract waits a second for its reply.
constexpr const char* kUnanswered = "READ_OPTION_TYPE";

TEST_F(Cli, TraceOfAKilledRunEndsWithTheLastFrameSent) {
    Child sim({VANTREL_SIM_PATH, "--silent", kUnanswered}, home_);
    const std::string port = sim.firstLine();
    ASSERT_FALSE(port.empty());
    const std::string trace = home_ + "/killed.trace";
    const std::string waitingOn = std::string(" > ") + kUnanswered + " ";
    std::string text;
    {
        Child run({VANTREL_CLI_PATH, "--port", port, "--trace", trace, "extract", "-o",
                   home_ + "/image.ucf"},
                  home_);
        const auto deadline = clitest::Clock::now() + std::chrono::seconds(20);
        while (clitest::Clock::now() < deadline) {
            text = readAll(trace);
            if (text.find(waitingOn) != std::string::npos) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }  // killed (SIGKILL) while it waits for the reply
    text = readAll(trace);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.back(), '\n') << "every line is whole";
    const std::vector<std::string> lines = linesOf(text);
    ASSERT_GT(lines.size(), 4u) << "killed half-way, after other frames";
    EXPECT_NE(lines.back().find(waitingOn), std::string::npos) << lines.back();
    EXPECT_NE(lines[1].find(" < "), std::string::npos) << "the replies before it are there";
    sim.stop();
    sim.finish();
}

TEST_F(Cli, TraceNamesTheExtractsFramesAndAnUnwritableTraceFailsTheRun) {
    const std::string trace = home_ + "/extract.trace";
    Result r = cli({"--simulate", "--trace", trace, "extract", "-o", home_ + "/image.ucf"});
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string text = readAll(trace);
    EXPECT_NE(text.find(" > REQUEST_CONFIG_BLOCKS "), std::string::npos);
    EXPECT_NE(text.find(" < record number=3 crc=ok "), std::string::npos);

    r = cli({"--simulate", "--trace", home_ + "/no-folder/t", "diag"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("cannot write the trace " + home_ + "/no-folder/t: "), std::string::npos)
        << r.err;
    r = cli({"--trace"});
    EXPECT_EQ(r.status, 2);
}

}  // namespace
