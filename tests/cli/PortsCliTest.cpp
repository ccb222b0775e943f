// ports: the listing of this machine's serial devices, as text and as JSON; the
// listing itself is tested against a scratch /dev in the link tests.
#include <algorithm>
#include <regex>
#include <string>

#include "CliProcess.h"

namespace {

using clitest::Cli;
using clitest::Result;

TEST_F(Cli, PortsPrintsOneLinePerPortAndTheSameAsJson) {
    const Result text = cli({"ports"});
    ASSERT_EQ(text.status, 0) << text.err;
    const Result json = cli({"ports", "--json"});
    ASSERT_EQ(json.status, 0) << json.err;

    const std::regex line(
        "^/[^\n]*: (free|in use by another program|not permitted \\(add yourself "
        "to the dialout group\\))$");
    size_t lines = 0;
    for (size_t start = 0, end; (end = text.out.find('\n', start)) != std::string::npos;
         start = end + 1, ++lines)
        EXPECT_TRUE(std::regex_match(text.out.substr(start, end - start), line))
            << text.out.substr(start, end - start);
    EXPECT_EQ(text.err.empty(), lines > 0) << "no ports is said on standard error";

    const std::regex entry(
        "\\{\"path\": \"[^\"]+\", \"name\": \"[^\"]+\", \"device\": \"[^\"]+\", \"state\": "
        "\"(free|in-use|not-permitted)\"\\}");
    const auto entries = std::distance(
        std::sregex_iterator(json.out.begin(), json.out.end(), entry), std::sregex_iterator());
    EXPECT_EQ(static_cast<size_t>(entries), lines) << json.out;
    EXPECT_EQ(json.out.front(), '[');
    EXPECT_EQ(json.out.substr(json.out.size() - 2), "]\n");

    EXPECT_EQ(cli({"ports", "--xml"}).status, 2);
}

}  // namespace
