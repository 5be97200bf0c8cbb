#include "config/OptionText.h"

#include "platform/CodePage.h"

#include <QByteArray>

namespace {

constexpr char16_t kKey[] = u"dofukolesatur3bivomekuda1wopetirasu2nolevafik4x";
constexpr qsizetype kKeyLength = std::size(kKey) - 1;
static_assert(kKeyLength == 47);

// The original program kept the stored form in a buffer of this many characters.
constexpr qsizetype kMaximumEncodedLength = 1023;

char16_t KeyAt(qsizetype position)
{
    return kKey[position % kKeyLength];
}

// A unit equal to its key character is kept as it is; any other is XORed with it.
// The same rule undoes itself, so it both encodes and decodes.
char16_t Scramble(char16_t unit, qsizetype position)
{
    const char16_t key = KeyAt(position);
    return unit == key ? unit : char16_t(unit ^ key);
}

char16_t Checksum(QStringView units)
{
    char16_t checksum = 0;
    for (const QChar unit : units)
        checksum ^= unit.unicode();
    return checksum;
}

int Base64Value(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= 'A' && u <= 'Z')
        return u - 'A';
    if (u >= 'a' && u <= 'z')
        return u - 'a' + 26;
    if (u >= '0' && u <= '9')
        return u - '0' + 52;
    if (u == '+')
        return 62;
    if (u == '/')
        return 63;
    return -1;
}

// Stops at the first "=" or other character outside the alphabet; a final group of
// two or three characters gives one or two bytes.
QByteArray DecodeBase64(QStringView text)
{
    QByteArray bytes;
    quint32 bits = 0;
    int bitCount = 0;
    for (const QChar c : text) {
        const int value = Base64Value(c);
        if (value < 0)
            break;
        bits = (bits << 6) | quint32(value);
        bitCount += 6;
        if (bitCount >= 8) {
            bitCount -= 8;
            bytes.append(char((bits >> bitCount) & 0xFF));
            bits &= (1u << bitCount) - 1;
        }
    }
    return bytes;
}

} // namespace

std::optional<QString> EncodeOptionText(const QString& plain)
{
    if (plain.size() > kMaximumOptionTextLength || plain.contains(QChar(0)))
        return std::nullopt;
    QString units(plain.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < plain.size(); ++i)
        units[i] = QChar(Scramble(plain[i].unicode(), i));
    units.append(QChar(Checksum(units)));
    const QByteArray bytes = Platform::toAnsiCodePage(units);
    if (Platform::fromAnsiCodePage(bytes) != units)
        return std::nullopt;
    const QString encoded = QString::fromLatin1(bytes.toBase64());
    if (encoded.size() > kMaximumEncodedLength)
        return std::nullopt;
    return encoded;
}

std::optional<QString> DecodeOptionText(const QString& encoded)
{
    const QString units = Platform::fromAnsiCodePage(DecodeBase64(encoded));
    if (units.isEmpty())
        return std::nullopt;
    const QStringView text = QStringView(units).chopped(1);
    if (Checksum(text) != units.back().unicode())
        return std::nullopt;
    QString plain(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        plain[i] = QChar(Scramble(text[i].unicode(), i));
    return plain;
}
