#pragma once

#include <cstdint>
#include <optional>

namespace qv::fontgen {

// GB2312 (EUC-CN) double-byte codes to Unicode through iconv.
class Gb2312ToUnicode {
public:
    // Throws std::runtime_error when iconv has no GB2312 converter.
    Gb2312ToUnicode();
    ~Gb2312ToUnicode();
    Gb2312ToUnicode(const Gb2312ToUnicode&) = delete;
    Gb2312ToUnicode& operator=(const Gb2312ToUnicode&) = delete;

    // `code` is lead byte * 256 + trail byte; none for a code GB2312 does not assign.
    std::optional<char32_t> operator()(uint16_t code) const;

private:
    void* handle_;
};

} // namespace qv::fontgen
