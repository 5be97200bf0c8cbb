#include "config/OptionText.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// Any stored text, however damaged, decodes or fails without harm, and whatever the
// encoder accepts decodes back to itself.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const QString& text : {QString::fromLatin1(bytes), QString::fromUtf8(bytes)}) {
        const std::optional<QString> plain = DecodeOptionText(text);
        for (const QString& candidate : {text, plain.value_or(QString())}) {
            const std::optional<QString> encoded = EncodeOptionText(candidate);
            if (encoded && DecodeOptionText(*encoded) != candidate)
                std::abort();
        }
    }
    return 0;
}
