#include "records/RtfWriter.h"

#include <QIODevice>

namespace {

constexpr qsizetype kChunkSize = 64 * 1024;

// RTF sizes are in half points; a twip is a twentieth of a point.
int halfPoints(int twips)
{
    return (twips + 5) / 10;
}

bool isBold(int weight)
{
    return weight >= 600;
}

} // namespace

RtfWriter::RtfWriter(QIODevice& device)
    : m_device(device)
{
}

bool RtfWriter::write(const CellPageDocument& page)
{
    writeHeader(page);
    for (const PageLine& line : page)
        writeLine(line);
    put("}\r\n");
    flush();
    return m_ok;
}

quint32 RtfWriter::colourKey(RgbColour colour)
{
    return quint32(colour.red) << 16 | quint32(colour.green) << 8 | colour.blue;
}

void RtfWriter::writeHeader(const CellPageDocument& page)
{
    put("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fnil\\fcharset0 MS Shell Dlg;}}\r\n");
    put("{\\colortbl ;");
    for (const PageLine& line : page) {
        const quint32 key = colourKey(line.colour);
        if (m_colourIndex.contains(key))
            continue;
        m_colourIndex.insert(key, int(m_colourIndex.size()) + 1);
        put(QByteArray("\\red") + QByteArray::number(line.colour.red) + "\\green" + QByteArray::number(line.colour.green)
            + "\\blue" + QByteArray::number(line.colour.blue) + ';');
    }
    put("}\r\n\\viewkind4\\pard\\f0\r\n");
}

void RtfWriter::writeLine(const PageLine& line)
{
    put(QByteArray("\\cf") + QByteArray::number(m_colourIndex.value(colourKey(line.colour))) + "\\fs"
        + QByteArray::number(halfPoints(line.heightTwips)) + (isBold(line.weight) ? "\\b " : "\\b0 "));
    writeText(line.text);
}

void RtfWriter::writeText(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        switch (unit) {
        case u'\\': put("\\\\"); break;
        case u'{': put("\\{"); break;
        case u'}': put("\\}"); break;
        case u'\t': put("\\tab "); break;
        case u'\r':
            // a CR LF pair ends one paragraph, not two
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            put("\\par\r\n");
            break;
        case u'\n': put("\\par\r\n"); break;
        default:
            if (unit >= 0x20 && unit < 0x7F)
                m_buffer.append(char(unit));
            else
                put(QByteArray("\\u") + QByteArray::number(int(int16_t(unit))) + '?');
        }
    }
    if (m_buffer.size() >= kChunkSize)
        flush();
}

void RtfWriter::put(QByteArrayView bytes)
{
    m_buffer.append(bytes);
}

void RtfWriter::flush()
{
    if (m_ok && !m_buffer.isEmpty())
        m_ok = m_device.write(m_buffer) == m_buffer.size();
    m_buffer.truncate(0); // keeps the capacity for the next chunk
}
