#pragma once
#include "config/Outcome.h"

#include <QByteArrayView>

// One section of an ELF file read as data: its bytes and the file's byte order,
// which also orders whatever the section holds.
struct ElfSection {
    QByteArrayView contents;
    bool bigEndian = false;
};

// Finds the first section named name in the bytes of an ELF file (32 or 64 bit,
// either byte order). Every offset, size and index is checked against the bytes
// before use, so a damaged or hostile file gives an error, never a bad read.
// The returned view points into image.
Outcome<ElfSection> FindElfSection(QByteArrayView image, QByteArrayView name);
