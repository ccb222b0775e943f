#include "WriteWatch.h"

#include <iostream>

#include "CliUi.h"

namespace vantrel::cli {

WriteWatch::WriteWatch(Session& session)
    : session_(session),
      framesBefore_(session.context.framesSent),
      failuresBefore_(session.ui.failureCount()),
      declinedBefore_(session.ui.declinedCount()) {}

bool WriteWatch::nothingSent(const std::string& what) const {
    if (session_.context.framesSent != framesBefore_) return false;
    // A refusal or an Error dialog has told why already.
    if (session_.ui.failureCount() != failuresBefore_) return false;
    std::cerr << "vantrel-cli: " << what << ": nothing sent: ";
    if (session_.ui.declinedCount() != declinedBefore_)
        std::cerr << '"' << session_.ui.lastDeclined() << "\" was answered No"
                  << " (--yes answers Yes)\n";
    else
        std::cerr << "it wrote no frame\n";
    return true;
}

}  // namespace vantrel::cli
