#include "ini_reader.h"

#include <cctype>
#include <sstream>

namespace {
std::string Trim(const std::string& text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= ' ') ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ') --last;
    return text.substr(first, last - first);
}
}  // namespace

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

SkinIni::SkinIni(const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    std::string section;
    while (std::getline(lines, line)) {
        line = Trim(line);
        if (line.empty() || line[0] == ';') continue;
        if (line.front() == '[' && line.back() == ']') {
            const std::string name = line.substr(1, line.size() - 2);
            section = Upper(name);
            order_.push_back(name);
            sections_[section];
            continue;
        }
        const size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        sections_[section].emplace(Upper(Trim(line.substr(0, equals))), Trim(line.substr(equals + 1)));
    }
}

bool SkinIni::HasSection(const std::string& section) const { return sections_.count(Upper(section)) > 0; }

std::optional<std::string> SkinIni::Value(const std::string& section, const std::string& key) const {
    const auto found = sections_.find(Upper(section));
    if (found == sections_.end()) return std::nullopt;
    const auto value = found->second.find(Upper(key));
    if (value == found->second.end()) return std::nullopt;
    return value->second;
}

int SkinIni::Integer(const std::string& section, const std::string& key, int fallback) const {
    const auto value = Value(section, key);
    if (!value) return fallback;
    try {
        return std::stoi(*value);
    } catch (...) {
        return fallback;
    }
}

std::vector<std::vector<std::string>> SkinIni::Entries() const {
    std::vector<std::vector<std::string>> entries;
    for (const auto& [section, keys] : sections_)
        for (const auto& [key, value] : keys) entries.push_back({section, key, value});
    return entries;
}
