#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace qv::manual {

// The markup of the parameter manuals, one construct per line:
//   # Title, ## Section, ### Group, #### Item
//   - a list item
//   | a | b | c |           table rows; the first row of a table is its head, a row of dashes is skipped
//   ![caption](file.png)    a picture `imageWidth(file)` pixels wide, left out when that is 0 (no such file)
//   anything else           paragraph text; a blank line ends the paragraph
// Inside text, `code` is set in a fixed font and **text** in bold. Returns the document as HTML for a rich
// text engine; pictures refer to their file name.
std::string MarkupToHtml(std::string_view markup, const std::function<int(const std::string&)>& imageWidth);

} // namespace qv::manual
