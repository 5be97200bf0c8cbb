#pragma once
#include <QString>

// One report the engine made through a callback, in the order it was made.
struct EngineEvent {
    enum Type { Message, Progress, State, Device, Verify };
    Type type = Message;
    int cell = -1;
    int kind = 0;     // message kind, verification kind, or the file kind of a state
    int state = 0;    // state record: 1 started, 2 passed, 3 failed
    int total = 0;
    int done = 0;
    int link = -1;    // device record: 1 attached, 0 removed
    int status = 0;   // verification record
    QString text;     // message or verification text, or the USB address
};
