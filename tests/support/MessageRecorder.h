// What a failed GUI test adds to its message: the messages of this thread that decide where input goes
// and when a menu ends (activation, focus, capture, cancel mode, menu loop and menu selection, button and
// key presses), sent and posted, in the order they came. A menu that closed early or a click that went
// nowhere shows itself here: which message ended it, and to which window it went.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

// Records while it lives, on the thread that made it (the thread whose windows and menu loops the test
// drives); one recorder at a time. Reading the record from another thread is safe.
class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    // The last messages recorded (at most limit), one per line: milliseconds since the recorder began,
    // how the message came (sent, posted, or through the menu loop's filter), its name, window, wParam
    // and lParam.
    std::string Describe(size_t limit = 80) const;

private:
    std::unique_ptr<struct TMessageRecord> FRecord;
};
