#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qv {

// A small INI text codec with the semantics of the settings file:
// - sections and keys match without regard to ASCII case; spaces around keys and values are ignored;
// - an integer value is an optional sign followed by the leading decimal digits (anything after them is
//   ignored, no digits read as 0, overflow wraps modulo 2^32 so an address written unsigned still reads);
// - setting a key keeps its line where it is; a new key is appended to the end of its section, and a new
//   section to the end of the file;
// - lines the codec does not understand (comments, other sections) are kept as they are.
class IniFile {
public:
    static IniFile Parse(std::string_view text);
    // A missing or unreadable file gives an empty document.
    static IniFile Load(const std::string& path);

    std::optional<std::string> GetString(std::string_view section, std::string_view key) const;
    int32_t GetInt(std::string_view section, std::string_view key, int32_t defaultValue) const;

    void SetString(std::string_view section, std::string_view key, std::string_view value);
    void SetInt(std::string_view section, std::string_view key, int32_t value);

    std::string Serialize() const;
    bool SaveAtomically(const std::string& path) const;

    static int32_t ParseLeadingInt(std::string_view value);

private:
    struct Line {
        std::string text;    // the line as read, used when the line is not a key of ours
        std::string section; // section the line belongs to
        std::string key;     // empty for section headers, comments and blank lines
        std::string value;
        bool isSectionHeader = false;
    };

    const Line* Find(std::string_view section, std::string_view key) const;
    Line* Find(std::string_view section, std::string_view key)
    {
        return const_cast<Line*>(std::as_const(*this).Find(section, key));
    }

    std::vector<Line> lines_;
};

} // namespace qv
