// Test helper: a plain reading of a skin definition file — sections and keys compared without
// regard to letter case, values trimmed, ";" lines ignored — to check what the skins define.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

class SkinIni {
public:
    explicit SkinIni(const std::string& text);
    bool HasSection(const std::string& section) const;
    std::optional<std::string> Value(const std::string& section, const std::string& key) const;
    int Integer(const std::string& section, const std::string& key, int fallback) const;
    const std::vector<std::string>& Sections() const { return order_; }  // as written
    // Every (section, key, value), upper-case names.
    std::vector<std::vector<std::string>> Entries() const;

private:
    std::map<std::string, std::map<std::string, std::string>> sections_;  // upper-case names
    std::vector<std::string> order_;
};

std::string Upper(std::string text);
