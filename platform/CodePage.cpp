#include "platform/CodePage.h"

#include <QByteArrayList>

#include <cerrno>
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

// Runs iconv over the whole input; on a sequence it cannot take it writes the
// replacement and skips one unit of the input, so no input ever stops the run.
QByteArray convert(const char* to, const char* from, QByteArrayView input, QByteArrayView replacement, int unitSize)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return {};
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
        output.append(replacement);
        const size_t skip = qMin(inLeft, size_t(unitSize));
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

QByteArray encode(const char* codeset, QStringView text)
{
    const QByteArrayView utf16(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    return convert(codeset, "UTF-16LE", utf16, "?", 2);
}

QString decode(const char* codeset, QByteArrayView bytes)
{
    const QByteArray utf16 = convert("UTF-16LE", codeset, bytes, QByteArrayView("\xFD\xFF", 2), 1);
    return QString(reinterpret_cast<const QChar*>(utf16.constData()), utf16.size() / 2);
}

} // namespace

QByteArray toAnsiCodePage(QStringView text) { return encode(ansiCodeset(), text); }
QString fromAnsiCodePage(QByteArrayView bytes) { return decode(ansiCodeset(), bytes); }
QByteArray toCodePage936(QStringView text) { return encode("GBK", text); }
QString fromCodePage936(QByteArrayView bytes) { return decode("GBK", bytes); }

} // namespace Platform
