#pragma once
#include <cstddef>
#include <cstdint>

// Every number in a package is little-endian whatever the host is.
namespace marlow {

template <typename T>
T loadLittleEndian(const unsigned char* bytes)
{
    T value = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
        value |= T(bytes[i]) << (8 * i);
    return value;
}

template <typename T>
void storeLittleEndian(unsigned char* bytes, T value)
{
    for (std::size_t i = 0; i < sizeof(T); ++i)
        bytes[i] = static_cast<unsigned char>(value >> (8 * i));
}

} // namespace marlow
