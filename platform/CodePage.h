#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <functional>
#include <optional>

namespace Platform {

// Conversions between the program's UTF-16 text and the two code pages its files
// use. The "ANSI" code page is the locale's codeset; the C locale's ASCII counts
// as UTF-8, as it does for Qt. Code page 936 is GBK. A character the target cannot
// hold becomes '?', a byte sequence the source cannot decode becomes U+FFFD.
QByteArray toAnsiCodePage(QStringView text);
QString fromAnsiCodePage(QByteArrayView bytes);
QByteArray toCodePage936(QStringView text);
QString fromCodePage936(QByteArrayView bytes);

// The same for any code page known by the name an XML declaration gives it
// ("GB2312", "windows-1252", "ISO-8859-1"); nothing when the name is unknown.
// A character the code page cannot hold is written as `unrepresentable` spells it.
std::optional<QString> fromNamedCodePage(QByteArrayView codeset, QByteArrayView bytes);
std::optional<QByteArray> toNamedCodePage(QByteArrayView codeset, QStringView text, const std::function<QByteArray(char32_t)>& unrepresentable);

} // namespace Platform
