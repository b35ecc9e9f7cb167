#include "LayerCheck.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <map>
#include <queue>
#include <regex>
#include <set>
#include <sstream>
#include <tuple>

namespace fs = std::filesystem;

namespace layercheck {

namespace {

// The folders whose files are checked.
const char* const kCheckedFolders[] = {"framework", "skin", "app"};

struct Include {
    std::string File;    // the including file
    int32_t Line = 0;    // of the #include
    std::string Target;  // the included file, resolved
};

int LayerOf(const std::string& path) {
    const auto& order = LayerOrder();
    for (size_t i = 0; i < order.size(); ++i)
        if (path.rfind(order[i] + "/", 0) == 0) return static_cast<int>(i);
    return -1;
}

// A header and the source of the same name in the same folder are one file for the circles.
std::string UnitOf(const std::string& path) { return fs::path(path).replace_extension().generic_string(); }

std::set<std::string> ListFiles(const fs::path& root) {
    std::set<std::string> files;
    for (const char* folder : kCheckedFolders) {
        const fs::path top = root / folder;
        if (!fs::is_directory(top)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(top)) {
            const std::string extension = entry.path().extension().string();
            if (entry.is_regular_file() && (extension == ".h" || extension == ".cpp"))
                files.insert(fs::relative(entry.path(), root).generic_string());
        }
    }
    return files;
}

// The file an include names: beside the including file first, then from the root. A path into the layered
// folders that names no file is kept as written (its layer still counts); anything else is not ours.
std::string Resolve(const std::set<std::string>& files, const std::string& from, const std::string& name) {
    const std::string beside = (fs::path(from).parent_path() / name).lexically_normal().generic_string();
    if (files.count(beside)) return beside;
    const std::string fromRoot = fs::path(name).lexically_normal().generic_string();
    if (files.count(fromRoot) || LayerOf(fromRoot) >= 0) return fromRoot;
    return {};
}

std::vector<Include> ReadIncludes(const fs::path& root, const std::set<std::string>& files) {
    static const std::regex includeLine(R"(^\s*#\s*include\s*"([^"]+)\")");
    std::vector<Include> includes;
    for (const std::string& file : files) {
        std::ifstream in(root / file);
        std::string text;
        int32_t line = 0;
        while (std::getline(in, text)) {
            ++line;
            std::smatch match;
            if (!std::regex_search(text, match, includeLine)) continue;
            std::string target = Resolve(files, file, match[1].str());
            if (!target.empty()) includes.push_back({file, line, std::move(target)});
        }
    }
    return includes;
}

void CheckOrder(const std::vector<Include>& includes, std::vector<Finding>& findings) {
    const auto& order = LayerOrder();
    for (const Include& include : includes) {
        const int from = LayerOf(include.File);
        const int to = LayerOf(include.Target);
        if (from >= 0 && to > from)
            findings.push_back({include.File, include.Line,
                                "includes " + include.Target + " of layer " + order[static_cast<size_t>(to)] +
                                    ", above its own layer " + order[static_cast<size_t>(from)]});
    }
}

// The include graph between files (header and source of one name together), its strongly connected parts
// (Tarjan), and for each part of more than one file the shortest circle through its first file.
class CircleFinder {
public:
    explicit CircleFinder(const std::vector<Include>& includes) {
        for (const Include& include : includes) {
            const std::string from = UnitOf(include.File);
            const std::string to = UnitOf(include.Target);
            FEdges[to];
            if (from != to) FEdges[from].push_back(&include);
        }
    }

    void Report(std::vector<Finding>& findings) {
        for (const auto& [unit, edges] : FEdges)
            if (!FIndex.count(unit)) Connect(unit);
        for (const std::set<std::string>& part : FParts) {
            const std::vector<const Include*> circle = ShortestCircle(*part.begin(), part);
            std::ostringstream text;
            text << "closes a circle of includes between " << part.size() << " files:";
            for (const Include* include : circle)
                text << ' ' << include->File << ':' << include->Line << " -> " << include->Target << ';';
            std::string message = text.str();
            message.pop_back();
            if (part.size() > circle.size()) {
                message += " (the files that reach each other:";
                for (const std::string& unit : part) message += " " + unit;
                message += ")";
            }
            findings.push_back({circle.front()->File, circle.front()->Line, message});
        }
    }

private:
    void Connect(const std::string& unit) {
        FIndex[unit] = FLowLink[unit] = FNext++;
        FStack.push_back(unit);
        FOnStack.insert(unit);
        for (const Include* include : FEdges[unit]) {
            const std::string to = UnitOf(include->Target);
            if (!FIndex.count(to)) {
                Connect(to);
                FLowLink[unit] = std::min(FLowLink[unit], FLowLink[to]);
            } else if (FOnStack.count(to)) {
                FLowLink[unit] = std::min(FLowLink[unit], FIndex[to]);
            }
        }
        if (FLowLink[unit] != FIndex[unit]) return;
        std::set<std::string> part;
        std::string member;
        do {
            member = FStack.back();
            FStack.pop_back();
            FOnStack.erase(member);
            part.insert(member);
        } while (member != unit);
        if (part.size() > 1) FParts.push_back(std::move(part));
    }

    // Breadth-first from start through the part's files back to start.
    std::vector<const Include*> ShortestCircle(const std::string& start, const std::set<std::string>& part) {
        std::map<std::string, const Include*> reachedBy;
        std::queue<std::string> pending;
        pending.push(start);
        while (!pending.empty()) {
            const std::string unit = pending.front();
            pending.pop();
            for (const Include* include : FEdges[unit]) {
                const std::string to = UnitOf(include->Target);
                if (!part.count(to) || reachedBy.count(to)) continue;
                reachedBy[to] = include;
                if (to == start) {
                    std::vector<const Include*> circle;
                    std::string at = start;
                    do {
                        const Include* edge = reachedBy[at];
                        circle.push_back(edge);
                        at = UnitOf(edge->File);
                    } while (at != start);
                    std::reverse(circle.begin(), circle.end());
                    return circle;
                }
                pending.push(to);
            }
        }
        return {};  // not reached: every file of a part lies on a circle through the others
    }

    std::map<std::string, std::vector<const Include*>> FEdges;
    std::map<std::string, int32_t> FIndex;
    std::map<std::string, int32_t> FLowLink;
    std::vector<std::string> FStack;
    std::set<std::string> FOnStack;
    int32_t FNext = 0;
    std::vector<std::set<std::string>> FParts;
};

}  // namespace

const std::vector<std::string>& LayerOrder() {
    static const std::vector<std::string> order{"framework/rtl",      "framework/core",     "framework/win",
                                                "framework/graphics", "framework/controls", "skin/data",
                                                "skin/form",          "skin/controls",      "app"};
    return order;
}

std::vector<Finding> CheckLayers(const fs::path& root) {
    const std::set<std::string> files = ListFiles(root);
    const std::vector<Include> includes = ReadIncludes(root, files);
    std::vector<Finding> findings;
    CheckOrder(includes, findings);
    CircleFinder(includes).Report(findings);
    std::sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
        return std::tie(a.File, a.Line, a.Message) < std::tie(b.File, b.Line, b.Message);
    });
    return findings;
}

std::string FormatFindings(const std::vector<Finding>& findings) {
    std::string text;
    for (const Finding& finding : findings)
        text += finding.File + ":" + std::to_string(finding.Line) + ": " + finding.Message + "\n";
    return text;
}

}  // namespace layercheck
