#include "config/ResourceLibrary.h"
#include "config/ResourceSection.h"

#include <cstddef>
#include <cstdint>

namespace {

// Reads every byte a view claims, so a view past its buffer shows up under the sanitizer.
unsigned touch(QByteArrayView bytes)
{
    unsigned sum = 0;
    for (const char byte : bytes)
        sum += quint8(byte);
    return sum;
}

} // namespace

// The input is tried as a whole library file and as a bare resource section in both byte orders.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    volatile unsigned sink = 0;
    const Outcome<CResourceLibrary> library = CResourceLibrary::fromBytes(bytes, QStringLiteral("fuzz"));
    if (library) {
        for (const ResourceEntry& entry : library.value->section().entries())
            sink = sink + touch(library.value->resource(entry.type, entry.name).value.value_or(QByteArray()));
    }
    for (const bool bigEndian : {false, true}) {
        const Outcome<CResourceSection> section = CResourceSection::parse({bytes, bigEndian});
        if (!section)
            continue;
        for (const ResourceEntry& entry : section.value->entries())
            sink = sink + touch(entry.data) + unsigned(entry.name.size());
    }
    return 0;
}
