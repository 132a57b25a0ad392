#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace qv::test {

// Builds expected byte sequences by hand: numbers are single bytes, strings their ASCII bytes.
class Bytes {
public:
    Bytes() = default;
    Bytes(std::initializer_list<int> bytes) { Add(bytes); }

    Bytes& Add(std::initializer_list<int> bytes)
    {
        for (const int b : bytes)
            data_.push_back(static_cast<uint8_t>(b));
        return *this;
    }
    Bytes& Text(std::string_view s)
    {
        // One byte at a time: GCC 12 at -O2 takes a range insert into an empty vector for an overflow.
        for (const char c : s)
            data_.push_back(static_cast<uint8_t>(c));
        return *this;
    }
    Bytes& Append(const std::vector<uint8_t>& more)
    {
        data_.insert(data_.end(), more.begin(), more.end());
        return *this;
    }
    Bytes& U16(uint16_t v) { return Add({v & 0xFF, v >> 8}); }
    Bytes& I32(int32_t v)
    {
        const auto u = static_cast<uint32_t>(v);
        return Add({static_cast<int>(u & 0xFF), static_cast<int>((u >> 8) & 0xFF), static_cast<int>((u >> 16) & 0xFF),
                    static_cast<int>(u >> 24)});
    }
    Bytes& Repeat(int byte, std::size_t n)
    {
        data_.insert(data_.end(), n, static_cast<uint8_t>(byte));
        return *this;
    }

    const std::vector<uint8_t>& vec() const { return data_; }
    operator const std::vector<uint8_t>&() const { return data_; }

private:
    std::vector<uint8_t> data_;
};

} // namespace qv::test
