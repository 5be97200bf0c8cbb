#include "platform/CodePage.h"

#include <QByteArrayList>

#include <cerrno>
#include <cstring>
#include <locale.h>
#include <iconv.h>
#include <langinfo.h>

namespace Platform {
namespace {

const char* ansiCodeset()
{
    static const QByteArray codeset = [] {
        // The environment's locale, read without changing the process's own.
        QByteArray name;
        if (locale_t locale = newlocale(LC_CTYPE_MASK, "", locale_t(0))) {
            name = nl_langinfo_l(CODESET, locale);
            freelocale(locale);
        }
        const QByteArrayList asciiNames = {"ANSI_X3.4-1968", "ASCII", "US-ASCII", ""};
        return asciiNames.contains(name) ? QByteArray("UTF-8") : name;
    }();
    return codeset.constData();
}

using Replacement = std::function<QByteArray(QByteArrayView unit)>;

// Runs iconv over the whole input; on a sequence it cannot take it writes the
// replacement for one unit of the input and skips that unit, so no input ever stops
// the run. Nothing when iconv does not know one of the two code pages.
std::optional<QByteArray> convert(const char* to, const char* from, QByteArrayView input, const Replacement& replacement, int unitSize)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    QByteArray output;
    char* in = const_cast<char*>(input.data());
    size_t inLeft = size_t(input.size());
    char buffer[4096];
    while (inLeft > 0) {
        char* out = buffer;
        size_t outLeft = sizeof buffer;
        const size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
        output.append(buffer, out - buffer);
        if (result != size_t(-1) || errno == E2BIG)
            continue;
        const size_t skip = qMin(inLeft, size_t(unitSize));
        output.append(replacement(QByteArrayView(in, qsizetype(skip))));
        in += skip;
        inLeft -= skip;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    char* out = buffer;
    size_t outLeft = sizeof buffer;
    iconv(cd, nullptr, nullptr, &out, &outLeft);
    output.append(buffer, out - buffer);
    iconv_close(cd);
    return output;
}

std::optional<QByteArray> encode(const char* codeset, QStringView text)
{
    const QByteArrayView utf16(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    return convert(codeset, "UTF-16LE", utf16, [](QByteArrayView) { return QByteArray("?"); }, 2);
}

std::optional<QString> decode(const char* codeset, QByteArrayView bytes)
{
    const auto replacementCharacter = [](QByteArrayView) { return QByteArray("\xFD\xFF", 2); };
    const std::optional<QByteArray> utf16 = convert("UTF-16LE", codeset, bytes, replacementCharacter, 1);
    if (!utf16)
        return std::nullopt;
    return QString(reinterpret_cast<const QChar*>(utf16->constData()), utf16->size() / 2);
}

} // namespace

QByteArray toAnsiCodePage(QStringView text) { return encode(ansiCodeset(), text).value_or(QByteArray()); }
QString fromAnsiCodePage(QByteArrayView bytes) { return decode(ansiCodeset(), bytes).value_or(QString()); }
QByteArray toCodePage936(QStringView text) { return encode("GBK", text).value_or(QByteArray()); }
QString fromCodePage936(QByteArrayView bytes) { return decode("GBK", bytes).value_or(QString()); }

std::optional<QString> fromNamedCodePage(QByteArrayView codeset, QByteArrayView bytes)
{
    return decode(codeset.toByteArray().constData(), bytes);
}

std::optional<QByteArray> toNamedCodePage(QByteArrayView codeset, QStringView text, const std::function<QByteArray(char32_t)>& unrepresentable)
{
    // Whole code points go in, so a character outside the BMP is replaced as one.
    const QList<uint> ucs4 = text.toUcs4();
    const QByteArrayView utf32(reinterpret_cast<const char*>(ucs4.constData()), ucs4.size() * 4);
    const auto replacement = [&unrepresentable](QByteArrayView unit) {
        char32_t codePoint = 0;
        std::memcpy(&codePoint, unit.data(), qMin<size_t>(sizeof codePoint, size_t(unit.size())));
        return unrepresentable(codePoint);
    };
    return convert(codeset.toByteArray().constData(), "UTF-32LE", utf32, replacement, 4);
}

} // namespace Platform
