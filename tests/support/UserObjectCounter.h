// UserObjectCounter: counts the live USER objects of this process, by kind, for leak tests. Wine answers
// 0 to GetGuiResources(GR_USEROBJECTS), so each kind is counted its own way:
//  - windows: enumerated (top-level, their children at every depth, and message-only windows) and kept
//    when their thread belongs to this process, but for the system's default IME window of a thread
//    (class "IME"), which comes and goes with the thread's top-level windows;
//  - menus, cursors and icons, accelerator tables: Wine's USER handle table is probed index by index
//    (Wine accepts a handle's index without its generation bits, as for GDI handles), each entry asked
//    with IsMenu, GetCursorFrameInfo and CopyAcceleratorTable;
//  - hooks: there is no call that tells a hook handle, so the program's own imports of SetWindowsHookExA/W
//    and UnhookWindowsHookEx are routed through counting wrappers the first time a counter is made; hooks
//    set before that, or through another module, are not seen.
// Limits: on Windows the probing finds nothing (handles carry generation bits), so menus, cursors and
// icons are reported as the rest of GetGuiResources' total; shared cursors and icons loaded with
// LR_SHARED or LoadCursor/LoadIcon count once and stay for the process's life (compare counts after a
// first warm-up round); window classes, timers, window properties and DeferWindowPos handles are not
// counted.
#pragma once

#include <windows.h>

#include <ostream>
#include <string>

struct UserObjectCounts {
    int Windows = 0;
    int Menus = 0;
    int CursorsAndIcons = 0;
    int AcceleratorTables = 0;
    int Hooks = 0;  // set through this program's imports since the first counter, still set
    int Total() const { return Windows + Menus + CursorsAndIcons + AcceleratorTables + Hooks; }

    friend bool operator==(const UserObjectCounts&, const UserObjectCounts&) = default;
    std::string ToString() const;
};

class UserObjectCounter {
public:
    // The live objects now.
    static UserObjectCounts Count();

    // Counts at construction; Leaked() is what was created since and is still alive.
    UserObjectCounter();
    const UserObjectCounts& Start() const { return FStart; }
    UserObjectCounts Leaked() const;

private:
    UserObjectCounts FStart;
};

// gtest printing.
inline void PrintTo(const UserObjectCounts& counts, std::ostream* out) { *out << counts.ToString(); }
