#include "regex/RegexCharSet.h"

char16_t OtherAsciiCase(char16_t character)
{
    if (character >= u'a' && character <= u'z')
        return char16_t(character - u'a' + u'A');
    if (character >= u'A' && character <= u'Z')
        return char16_t(character - u'A' + u'a');
    return character;
}

bool CRegexCharSet::IsWordCharacter(char16_t character)
{
    return (character >= u'a' && character <= u'z') || (character >= u'A' && character <= u'Z') || IsDigitCharacter(character)
        || character == u'_';
}

bool CRegexCharSet::IsSpaceCharacter(char16_t character)
{
    return character == u' ' || character == u'\t' || character == u'\r' || character == u'\n';
}

bool CRegexCharSet::IsDigitCharacter(char16_t character)
{
    return character >= u'0' && character <= u'9';
}

void CRegexCharSet::AddRange(char16_t first, char16_t last)
{
    if (first <= last)
        m_ranges.emplace_back(first, last);
}

bool CRegexCharSet::Contains(char16_t character, bool ignoreCase) const
{
    const bool found = ContainsExactly(character) || (ignoreCase && ContainsExactly(OtherAsciiCase(character)));
    return found != m_negated;
}

bool CRegexCharSet::ContainsExactly(char16_t character) const
{
    for (const auto& [first, last] : m_ranges) {
        if (character >= first && character <= last)
            return true;
    }
    return InClasses(character);
}

bool CRegexCharSet::InClasses(char16_t character) const
{
    const bool word = IsWordCharacter(character);
    const bool space = IsSpaceCharacter(character);
    const bool digit = IsDigitCharacter(character);
    return ((m_classes & Word) && word) || ((m_classes & NonWord) && !word) || ((m_classes & Space) && space)
        || ((m_classes & NonSpace) && !space) || ((m_classes & Digit) && digit) || ((m_classes & NonDigit) && !digit);
}
