#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace Platform {

// Conversions between the program's UTF-16 text and the two code pages its files
// use. The "ANSI" code page is the locale's codeset; the C locale's ASCII counts
// as UTF-8, as it does for Qt. Code page 936 is GBK. A character the target cannot
// hold becomes '?', a byte sequence the source cannot decode becomes U+FFFD.
QByteArray toAnsiCodePage(QStringView text);
QString fromAnsiCodePage(QByteArrayView bytes);
QByteArray toCodePage936(QStringView text);
QString fromCodePage936(QByteArrayView bytes);

} // namespace Platform
