#pragma once
// Input given while the tool was busy is thrown away, never run afterwards: a click
// on a greyed button or a key pressed during an operation waits in the queue until
// the operation ends, when the widgets take input again.

namespace vantrel::qt {

// Delivers what is queued now, except mouse and key input, which is dropped (shortcut
// keys included). Timers that come due meanwhile wait for the event loop.
void discardQueuedInput();

}  // namespace vantrel::qt
