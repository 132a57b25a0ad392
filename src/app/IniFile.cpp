#include "app/IniFile.h"

#include "app/AtomicFile.h"

#include <algorithm>

namespace qv {

namespace {

std::string_view Trim(std::string_view s)
{
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && isSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

bool SameName(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

} // namespace

IniFile IniFile::Parse(std::string_view text)
{
    IniFile ini;
    std::string section;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view raw = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);

        Line line;
        line.text = std::string(Trim(raw));
        const std::string_view trimmed = line.text;
        if (trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.find(']') != std::string_view::npos) {
            section = std::string(Trim(trimmed.substr(1, trimmed.find(']') - 1)));
            line.isSectionHeader = true;
        } else if (const auto eq = trimmed.find('='); eq != std::string_view::npos && trimmed.front() != ';') {
            line.key = std::string(Trim(trimmed.substr(0, eq)));
            line.value = std::string(Trim(trimmed.substr(eq + 1)));
        }
        line.section = section;
        ini.lines_.push_back(std::move(line));
    }
    return ini;
}

IniFile IniFile::Load(const std::string& path)
{
    std::string text;
    if (!ReadWholeFile(path, text))
        return {};
    return Parse(text);
}

const IniFile::Line* IniFile::Find(std::string_view section, std::string_view key) const
{
    for (const Line& line : lines_) {
        if (!line.key.empty() && SameName(line.section, section) && SameName(line.key, key))
            return &line;
    }
    return nullptr;
}

std::optional<std::string> IniFile::GetString(std::string_view section, std::string_view key) const
{
    if (const Line* line = Find(section, key))
        return line->value;
    return std::nullopt;
}

int32_t IniFile::ParseLeadingInt(std::string_view value)
{
    bool negative = false;
    if (!value.empty() && (value.front() == '-' || value.front() == '+')) {
        negative = value.front() == '-';
        value.remove_prefix(1);
    }
    uint32_t magnitude = 0;
    for (const char c : value) {
        if (c < '0' || c > '9')
            break;
        magnitude = magnitude * 10u + static_cast<uint32_t>(c - '0');
    }
    if (negative)
        magnitude = 0u - magnitude;
    return static_cast<int32_t>(magnitude);
}

int32_t IniFile::GetInt(std::string_view section, std::string_view key, int32_t defaultValue) const
{
    const Line* line = Find(section, key);
    return line ? ParseLeadingInt(line->value) : defaultValue;
}

void IniFile::SetString(std::string_view section, std::string_view key, std::string_view value)
{
    if (Line* line = Find(section, key)) {
        line->value = std::string(value);
        return;
    }
    Line added;
    added.section = std::string(section);
    added.key = std::string(key);
    added.value = std::string(value);

    // After the last line of the section that is not blank, so the key stays inside its section.
    auto insertAt = lines_.end();
    bool sectionSeen = false;
    for (auto it = lines_.begin(); it != lines_.end(); ++it) {
        if (!SameName(it->section, section))
            continue;
        sectionSeen = true;
        if (it->isSectionHeader || !it->text.empty() || !it->key.empty())
            insertAt = it + 1;
    }
    if (!sectionSeen) {
        Line header;
        header.section = std::string(section);
        header.isSectionHeader = true;
        header.text.append("[").append(section).append("]");
        lines_.push_back(std::move(header));
        insertAt = lines_.end();
    }
    lines_.insert(insertAt, std::move(added));
}

void IniFile::SetInt(std::string_view section, std::string_view key, int32_t value)
{
    SetString(section, key, std::to_string(value));
}

std::string IniFile::Serialize() const
{
    std::string out;
    for (const Line& line : lines_) {
        out += line.key.empty() ? line.text : line.key + "=" + line.value;
        out += '\n';
    }
    return out;
}

bool IniFile::SaveAtomically(const std::string& path) const
{
    const std::string text = Serialize();
    return WriteFileAtomically(path, text);
}

} // namespace qv
