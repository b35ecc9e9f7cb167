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

#include <array>
#include <ostream>
#include <string>
#include <utility>

#include "ObjectCounter.h"

struct UserObjectCounts {
    int Windows = 0;
    int Menus = 0;
    int CursorsAndIcons = 0;
    int AcceleratorTables = 0;
    int Hooks = 0;  // set through this program's imports since the first counter, still set
    int Total() const { return Windows + Menus + CursorsAndIcons + AcceleratorTables + Hooks; }

    friend bool operator==(const UserObjectCounts&, const UserObjectCounts&) = default;
    std::string ToString() const { return CountsText(*this); }

    static constexpr std::array<std::pair<const char*, int UserObjectCounts::*>, 5> Kinds{{
        {"windows", &UserObjectCounts::Windows},
        {"menus", &UserObjectCounts::Menus},
        {"cursors and icons", &UserObjectCounts::CursorsAndIcons},
        {"accelerator tables", &UserObjectCounts::AcceleratorTables},
        {"hooks", &UserObjectCounts::Hooks},
    }};
};

// The live USER objects of this process now (the first call routes the hook imports through counters).
UserObjectCounts CountUserObjects();

using UserObjectCounter = ObjectCounter<UserObjectCounts, CountUserObjects>;

// gtest printing.
inline void PrintTo(const UserObjectCounts& counts, std::ostream* out) { *out << counts.ToString(); }
