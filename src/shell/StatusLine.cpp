#include "shell/StatusLine.h"

namespace vantrel::shell {

const char* loginLevelName(uint8_t level) {
    switch (level) {
        case kUser:
            return "User";
        case kService:
            return "Service";
        default:
            return "Not logged in";
    }
}

StatusLine statusLine(const Context& context) {
    return {context.portName, loginLevelName(context.loginLevel), context.status};
}

}  // namespace vantrel::shell
