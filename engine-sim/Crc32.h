#pragma once
#include <cstddef>
#include <cstdint>
#include <span>

namespace marlow {

// CRC-32 as zip and PNG use it (reflected polynomial 0xEDB88320), fed in pieces.
class Crc32 {
public:
    void update(std::span<const unsigned char> bytes);
    uint32_t value() const { return ~m_state; }

    static uint32_t of(std::span<const unsigned char> bytes);

private:
    uint32_t m_state = 0xFFFFFFFFu;
};

} // namespace marlow
