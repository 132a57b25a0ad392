#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qv {

// Conversions between the GBK bytes of task files and drawings and the UTF-8 of the file system and the
// screen (iconv underneath).

// None when the text holds a character GBK cannot represent (or is not valid UTF-8).
std::optional<std::string> Utf8ToGbk(std::string_view utf8);
// Never fails: a byte sequence that is not GBK becomes U+FFFD.
std::string GbkToUtf8(std::string_view gbk);
// UTF-16LE code units, two bytes each, from and to UTF-8; unpaired surrogates become U+FFFD.
std::string Utf16LeToUtf8(std::string_view utf16le);
std::string Utf8ToUtf16Le(std::string_view utf8);
// The text with every byte outside a well-formed UTF-8 sequence replaced by U+FFFD: a file name of another
// encoding, shown or written as JSON.
std::string ValidUtf8(std::string_view text);

} // namespace qv
