#pragma once
// What a front end's status bar shows: the port, who is logged in, and how the last
// operation ended.
#include <cstdint>
#include <string>

#include "shell/Context.h"

namespace vantrel::shell {

struct StatusLine {
    std::string port;
    std::string login;    // "Not logged in", "User", "Service"
    std::string outcome;  // empty before the first operation
};

const char* loginLevelName(uint8_t level);
StatusLine statusLine(const Context& context);

}  // namespace vantrel::shell
