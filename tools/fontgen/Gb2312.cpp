#include "Gb2312.h"

#include <iconv.h>
#include <stdexcept>

namespace qv::fontgen {

Gb2312ToUnicode::Gb2312ToUnicode() : handle_(iconv_open("UTF-32LE", "GB2312"))
{
    if (handle_ == reinterpret_cast<void*>(-1))
        throw std::runtime_error("iconv has no GB2312 converter");
}

Gb2312ToUnicode::~Gb2312ToUnicode()
{
    iconv_close(static_cast<iconv_t>(handle_));
}

std::optional<char32_t> Gb2312ToUnicode::operator()(uint16_t code) const
{
    char in[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    unsigned char out[4] = {};
    char* inPtr = in;
    char* outPtr = reinterpret_cast<char*>(out);
    std::size_t inLeft = sizeof in;
    std::size_t outLeft = sizeof out;
    const auto cd = static_cast<iconv_t>(handle_);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0 || outLeft != 0)
        return std::nullopt;
    return static_cast<char32_t>(out[0] | out[1] << 8 | out[2] << 16 | static_cast<uint32_t>(out[3]) << 24);
}

} // namespace qv::fontgen
