#pragma once
#include <QByteArrayView>
#include <QtEndian>

#include <cstring>

// Reads fixed-width numbers of one byte order out of bytes whose bounds the caller checked.
class EndianReader {
public:
    EndianReader(QByteArrayView bytes, bool bigEndian) : m_bytes(bytes), m_bigEndian(bigEndian) {}

    template<typename T>
    T read(quint64 offset) const
    {
        T value;
        std::memcpy(&value, m_bytes.data() + offset, sizeof value);
        return m_bigEndian ? qFromBigEndian(value) : qFromLittleEndian(value);
    }

    // A 32- or 64-bit word, as an ELF file's class makes its addresses and offsets.
    quint64 word(quint64 offset, bool wide) const { return wide ? read<quint64>(offset) : read<quint32>(offset); }

private:
    QByteArrayView m_bytes;
    bool m_bigEndian;
};
