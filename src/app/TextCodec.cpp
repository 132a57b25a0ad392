#include "app/TextCodec.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace qv {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// ASCII reads the same in UTF-8 and GBK. Most texts (every curve's record tag, most file names) are ASCII and
// need no converter.
bool IsAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// One iconv conversion descriptor for the length of a call.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (ok())
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as it can; returns the number of input bytes left unconverted at the point of failure.
    size_t Convert(std::string_view& in, std::string& out)
    {
        char* inPtr = const_cast<char*>(in.data());
        size_t inLeft = in.size();
        char buffer[256];
        while (inLeft > 0) {
            char* outPtr = buffer;
            size_t outLeft = sizeof buffer;
            const size_t r = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
            out.append(buffer, static_cast<size_t>(outPtr - buffer));
            if (r == static_cast<size_t>(-1) && errno != E2BIG)
                break;
        }
        in = std::string_view(inPtr, inLeft);
        return inLeft;
    }

private:
    iconv_t cd_;
};

} // namespace

std::optional<std::string> Utf8ToGbk(std::string_view utf8)
{
    if (IsAscii(utf8))
        return std::string(utf8);
    Converter conv("GBK", "UTF-8");
    if (!conv.ok())
        return std::nullopt;
    std::string out;
    if (conv.Convert(utf8, out) != 0)
        return std::nullopt;
    return out;
}

std::string GbkToUtf8(std::string_view gbk)
{
    if (IsAscii(gbk))
        return std::string(gbk);
    Converter conv("UTF-8", "GBK");
    std::string out;
    if (!conv.ok()) {
        for (const char c : gbk)
            AppendUtf8(out, static_cast<unsigned char>(c) < 0x80 ? static_cast<char32_t>(c) : kReplacement);
        return out;
    }
    while (conv.Convert(gbk, out) != 0) {
        // Skip the byte that could not start a character; a truncated pair at the end goes the same way.
        AppendUtf8(out, kReplacement);
        gbk.remove_prefix(1);
    }
    return out;
}

std::string Utf16LeToUtf8(std::string_view utf16le)
{
    std::string out;
    const auto unit = [&](size_t i) {
        return static_cast<char16_t>(static_cast<unsigned char>(utf16le[i]) |
                                     (static_cast<unsigned char>(utf16le[i + 1]) << 8));
    };
    const size_t units = utf16le.size() / 2;
    for (size_t i = 0; i < units; ++i) {
        const char16_t u = unit(2 * i);
        if (u >= 0xD800 && u < 0xDC00 && i + 1 < units) {
            const char16_t low = unit(2 * (i + 1));
            if (low >= 0xDC00 && low < 0xE000) {
                AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        AppendUtf8(out, (u >= 0xD800 && u < 0xE000) ? kReplacement : static_cast<char32_t>(u));
    }
    return out;
}

std::string Utf8ToUtf16Le(std::string_view utf8)
{
    std::string out;
    const auto put = [&](char16_t u) {
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>(u >> 8);
    };
    size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const size_t extra = lead < 0x80           ? 0
                             : (lead >> 5) == 0x6  ? 1
                             : (lead >> 4) == 0xE  ? 2
                             : (lead >> 3) == 0x1E ? 3
                                                   : 4;
        char32_t c = extra == 0 ? lead : static_cast<char32_t>(lead & (0x3F >> extra));
        bool valid = extra < 4 && i + extra < utf8.size();
        for (size_t k = 1; valid && k <= extra; ++k) {
            const auto cont = static_cast<unsigned char>(utf8[i + k]);
            valid = (cont & 0xC0) == 0x80;
            c = (c << 6) | (cont & 0x3F);
        }
        // A malformed sequence costs one replacement character per byte, so nothing after it is lost.
        if (!valid)
            c = kReplacement;
        i += valid ? extra + 1 : 1;
        if (c >= 0x10000 && c < 0x110000) {
            put(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            put(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            put(static_cast<char16_t>(c >= 0x110000 ? kReplacement : c));
        }
    }
    return out;
}

std::string ValidUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        // The length of the sequence and the range its second byte must lie in (no overlong forms, no
        // surrogates, nothing past U+10FFFF).
        std::size_t n = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (b < 0x80) {
            n = 1;
        } else if (b >= 0xC2 && b <= 0xDF) {
            n = 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            n = 3;
            low = b == 0xE0 ? 0xA0 : 0x80;
            high = b == 0xED ? 0x9F : 0xBF;
        } else if (b >= 0xF0 && b <= 0xF4) {
            n = 4;
            low = b == 0xF0 ? 0x90 : 0x80;
            high = b == 0xF4 ? 0x8F : 0xBF;
        }
        bool whole = n > 0 && i + n <= text.size();
        for (std::size_t k = 1; whole && k < n; ++k) {
            const auto c = static_cast<unsigned char>(text[i + k]);
            whole = k == 1 ? c >= low && c <= high : c >= 0x80 && c <= 0xBF;
        }
        if (whole) {
            out.append(text.substr(i, n));
            i += n;
        } else {
            AppendUtf8(out, kReplacement);
            ++i;
        }
    }
    return out;
}

} // namespace qv
