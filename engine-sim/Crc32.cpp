#include "engine-sim/Crc32.h"

#include <array>

namespace marlow {

namespace {

// Eight tables let the loop take eight bytes a step: packages are large.
using Tables = std::array<std::array<uint32_t, 256>, 8>;

constexpr Tables makeTables()
{
    Tables tables{};
    for (uint32_t byte = 0; byte < 256; ++byte) {
        uint32_t crc = byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ ((crc & 1u) ? 0xEDB88320u : 0u);
        tables[0][byte] = crc;
    }
    for (uint32_t byte = 0; byte < 256; ++byte)
        for (std::size_t table = 1; table < tables.size(); ++table)
            tables[table][byte] = (tables[table - 1][byte] >> 8) ^ tables[0][tables[table - 1][byte] & 0xFFu];
    return tables;
}

constexpr Tables kTables = makeTables();

} // namespace

void Crc32::update(std::span<const unsigned char> bytes)
{
    uint32_t crc = m_state;
    const unsigned char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left >= 8) {
        const uint32_t low = crc ^ (uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
        crc = kTables[7][low & 0xFFu] ^ kTables[6][(low >> 8) & 0xFFu] ^ kTables[5][(low >> 16) & 0xFFu]
            ^ kTables[4][low >> 24] ^ kTables[3][p[4]] ^ kTables[2][p[5]] ^ kTables[1][p[6]] ^ kTables[0][p[7]];
        p += 8;
        left -= 8;
    }
    for (; left > 0; --left, ++p)
        crc = (crc >> 8) ^ kTables[0][(crc ^ *p) & 0xFFu];
    m_state = crc;
}

uint32_t Crc32::of(std::span<const unsigned char> bytes)
{
    Crc32 crc;
    crc.update(bytes);
    return crc.value();
}

} // namespace marlow
