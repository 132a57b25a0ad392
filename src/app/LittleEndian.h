#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace qv {

// Little-endian loads and stores for the byte formats (records, frames, archives). Written byte by byte so
// they work on any host and at any alignment; the compiler turns them into single moves.

template <typename T>
T LoadLE(const uint8_t* p)
{
    static_assert(std::is_trivially_copyable_v<T>);
    using U = std::conditional_t<
        sizeof(T) == 1, uint8_t,
        std::conditional_t<sizeof(T) == 2, uint16_t, std::conditional_t<sizeof(T) == 4, uint32_t, uint64_t>>>;
    U u = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
        u = static_cast<U>(u | static_cast<U>(static_cast<U>(p[i]) << (8 * i)));
    return std::bit_cast<T>(u);
}

template <typename T>
void StoreLE(uint8_t* p, T value)
{
    static_assert(std::is_trivially_copyable_v<T>);
    using U = std::conditional_t<
        sizeof(T) == 1, uint8_t,
        std::conditional_t<sizeof(T) == 2, uint16_t, std::conditional_t<sizeof(T) == 4, uint32_t, uint64_t>>>;
    const U u = std::bit_cast<U>(value);
    for (std::size_t i = 0; i < sizeof(T); ++i)
        p[i] = static_cast<uint8_t>(u >> (8 * i));
}

} // namespace qv
