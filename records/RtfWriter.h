#pragma once
#include "records/CellPageDocument.h"

#include <QByteArray>
#include <QHash>
#include <QStringView>

class QIODevice;

// Writes a cell page as a rich-text (RTF) document: one font, a table of the
// colours the page uses, and every line with its colour, size and weight. Only
// ASCII is written; other characters go out as \uN escapes, so the document
// reads the same whatever code page the reader assumes.
class RtfWriter {
public:
    explicit RtfWriter(QIODevice& device);

    // False when the device did not take everything.
    bool write(const CellPageDocument& page);

private:
    static quint32 colourKey(RgbColour colour);
    void writeHeader(const CellPageDocument& page);
    void writeLine(const PageLine& line);
    void writeText(QStringView text);
    void put(QByteArrayView bytes);
    void flush();

    QIODevice& m_device;
    QHash<quint32, int> m_colourIndex; // 1-based, as \cf counts them
    QByteArray m_buffer;
    bool m_ok = true;
};
