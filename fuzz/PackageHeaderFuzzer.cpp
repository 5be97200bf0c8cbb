#include "download/PackageHeader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    PackageHeaderVersion(bytes);
    PackageModelFromHeader(bytes);
    return 0;
}
