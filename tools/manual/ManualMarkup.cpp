#include "ManualMarkup.h"

#include <vector>

namespace qv::manual {

namespace {

std::string Escape(std::string_view text)
{
    std::string out;
    for (const char ch : text) {
        switch (ch) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += ch;
        }
    }
    return out;
}

// Escapes the text and turns `code` and **bold** into their tags; an unpaired mark stays as it is.
std::string Inline(std::string_view text)
{
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '`') {
            const std::size_t end = text.find('`', i + 1);
            if (end != std::string_view::npos) {
                out += "<code>" + Escape(text.substr(i + 1, end - i - 1)) + "</code>";
                i = end + 1;
                continue;
            }
        } else if (text.substr(i, 2) == "**") {
            const std::size_t end = text.find("**", i + 2);
            if (end != std::string_view::npos) {
                out += "<b>" + Inline(text.substr(i + 2, end - i - 2)) + "</b>";
                i = end + 2;
                continue;
            }
        }
        out += Escape(text.substr(i, 1));
        ++i;
    }
    return out;
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

std::vector<std::string_view> Cells(std::string_view row)
{
    row = Trim(row);
    row.remove_prefix(1);
    if (!row.empty() && row.back() == '|')
        row.remove_suffix(1);
    std::vector<std::string_view> cells;
    std::size_t start = 0;
    while (true) {
        const std::size_t bar = row.find('|', start);
        cells.push_back(Trim(row.substr(start, bar == std::string_view::npos ? bar : bar - start)));
        if (bar == std::string_view::npos)
            return cells;
        start = bar + 1;
    }
}

bool IsDashRow(std::string_view row)
{
    return row.find_first_not_of("|-: \t\r") == std::string_view::npos;
}

} // namespace

std::string MarkupToHtml(std::string_view markup, const std::function<int(const std::string&)>& imageWidth)
{
    std::string html = "<html><body>\n";
    enum class Block { None, Paragraph, List, Table } block = Block::None;
    bool tableHead = false;
    const auto close = [&] {
        if (block == Block::Paragraph)
            html += "</p>\n";
        else if (block == Block::List)
            html += "</ul>\n";
        else if (block == Block::Table)
            html += "</table>\n";
        block = Block::None;
    };

    std::size_t start = 0;
    while (start <= markup.size()) {
        const std::size_t end = std::min(markup.find('\n', start), markup.size());
        const std::string_view line = Trim(markup.substr(start, end - start));
        start = end + 1;

        if (line.empty()) {
            close();
            continue;
        }
        if (line.front() == '#') {
            close();
            const std::size_t level = std::min<std::size_t>(line.find_first_not_of('#'), 4);
            const std::string tag = "h" + std::to_string(level);
            html += "<" + tag + ">" + Inline(Trim(line.substr(level))) + "</" + tag + ">\n";
            continue;
        }
        if (line.starts_with("![")) {
            const std::size_t mid = line.find("](");
            if (mid != std::string_view::npos && line.back() == ')') {
                close();
                const std::string file(line.substr(mid + 2, line.size() - mid - 3));
                if (const int width = imageWidth(file); width > 0)
                    html += "<p align=\"center\"><img src=\"" + Escape(file) + "\" width=\"" + std::to_string(width) +
                            "\"/><br/><i>" + Inline(line.substr(2, mid - 2)) + "</i></p>\n";
                continue;
            }
        }
        if (line.front() == '|') {
            if (block != Block::Table) {
                close();
                html += "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">\n";
                block = Block::Table;
                tableHead = true;
            }
            if (IsDashRow(line))
                continue;
            const char* cell = tableHead ? "th" : "td";
            html += "<tr>";
            for (const std::string_view c : Cells(line))
                html += std::string("<") + cell + ">" + Inline(c) + "</" + cell + ">";
            html += "</tr>\n";
            tableHead = false;
            continue;
        }
        if (line.starts_with("- ")) {
            if (block != Block::List) {
                close();
                html += "<ul>\n";
                block = Block::List;
            }
            html += "<li>" + Inline(line.substr(2)) + "</li>\n";
            continue;
        }
        if (block != Block::Paragraph) {
            close();
            html += "<p>";
            block = Block::Paragraph;
        } else if (static_cast<unsigned char>(html.back()) < 0x80 && static_cast<unsigned char>(line.front()) < 0x80) {
            // Chinese text runs on without a space where a source line breaks.
            html += ' ';
        }
        html += Inline(line);
    }
    close();
    return html + "</body></html>\n";
}

} // namespace qv::manual
