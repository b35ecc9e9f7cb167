// What the GDI and USER object counters share: counts of kinds listed, each with its name, in the counts
// type's Kinds table; their difference and their text; and a counter that remembers the counts at its
// start and tells what was made since and is still alive.
#pragma once

#include <ostream>
#include <sstream>
#include <string>

// Kind by kind, now minus start.
template <class Counts>
Counts CountsDifference(const Counts& now, const Counts& start) {
    Counts difference;
    for (const auto& [name, kind] : Counts::Kinds) difference.*kind = now.*kind - start.*kind;
    return difference;
}

// "{name count, ...}" in the order of the Kinds table.
template <class Counts>
std::string CountsText(const Counts& counts) {
    std::ostringstream out;
    const char* separator = "{";
    for (const auto& [name, kind] : Counts::Kinds) {
        out << separator << name << ' ' << counts.*kind;
        separator = ", ";
    }
    out << '}';
    return out.str();
}

// Counts at construction through CountNow; Leaked() is what was made since and is still alive.
template <class Counts, Counts (*CountNow)()>
class ObjectCounter {
public:
    // The live objects now.
    static Counts Count() { return CountNow(); }

    ObjectCounter() : FStart(CountNow()) {}
    const Counts& Start() const { return FStart; }
    Counts Leaked() const { return CountsDifference(CountNow(), FStart); }

private:
    Counts FStart;
};
