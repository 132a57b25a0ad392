#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace qv::bench {

// What a plain split of HP-GL costs and finds: the least any reader of the same bytes can do.
struct Tokens {
    std::size_t mnemonics = 0;
    std::size_t numbers = 0;
    int64_t checksum = 0; // every mnemonic and every number's digits folded in, so nothing is skipped
};

// Splits the bytes into two-letter mnemonics and numbers (sign, digits, one decimal point) and nothing more:
// no instructions, no pens, no pages. A label's text runs to the end-of-text byte unread.
inline Tokens SplitMnemonicsAndNumbers(std::span<const uint8_t> bytes)
{
    Tokens t;
    const uint8_t* p = bytes.data();
    const uint8_t* const end = p + bytes.size();
    const auto letter = [](uint8_t b) { return static_cast<uint8_t>((b | 0x20) - 'a') < 26; };
    const auto digit = [](uint8_t b) { return static_cast<uint8_t>(b - '0') < 10; };
    while (p < end) {
        const uint8_t b = *p;
        if (letter(b) && p + 1 < end && letter(p[1])) {
            const int64_t mnemonic = (b | 0x20) << 8 | (p[1] | 0x20);
            ++t.mnemonics;
            t.checksum += mnemonic;
            p += 2;
            if (mnemonic == ('l' << 8 | 'b')) {
                while (p < end && *p != 3)
                    ++p;
            }
            continue;
        }
        if (digit(b) || b == '-' || b == '+' || b == '.') {
            const bool negative = b == '-';
            p += (b == '-' || b == '+') ? 1 : 0;
            int64_t value = 0;
            while (p < end && digit(*p))
                value = value * 10 + (*p++ - '0');
            if (p < end && *p == '.') {
                ++p;
                while (p < end && digit(*p))
                    value = value * 10 + (*p++ - '0');
            }
            ++t.numbers;
            t.checksum += negative ? -value : value;
            continue;
        }
        ++p;
    }
    return t;
}

} // namespace qv::bench
