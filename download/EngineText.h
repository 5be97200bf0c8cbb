#pragma once
#include <QString>

// The text of an engine record's array: up to the first NUL, or the whole array
// when the engine filled it to the end without one.
template <int Units>
QString engineText(const char16_t (&array)[Units])
{
    int length = 0;
    while (length < Units && array[length] != u'\0')
        ++length;
    return QString(reinterpret_cast<const QChar*>(array), length);
}

// Writes text into an engine record's array, cut so that the NUL still fits.
template <int Units>
void setEngineText(char16_t (&array)[Units], QStringView text)
{
    const int length = int(qMin<qsizetype>(text.size(), Units - 1));
    for (int i = 0; i < length; ++i)
        array[i] = text[i].unicode();
    array[length] = u'\0';
}
