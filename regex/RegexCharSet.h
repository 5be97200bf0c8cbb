#pragma once
#include <cstdint>
#include <utility>
#include <vector>

// A set of 16-bit characters as written between brackets: ranges, whole classes
// such as \w, and an optional negation.
class CRegexCharSet {
public:
    enum Class : std::uint8_t { Word = 1, NonWord = 2, Space = 4, NonSpace = 8, Digit = 16, NonDigit = 32 };

    void AddRange(char16_t first, char16_t last);
    void AddCharacter(char16_t character) { AddRange(character, character); }
    void AddClass(Class characterClass) { m_classes |= characterClass; }
    void Negate() { m_negated = true; }

    // With ignoreCase an ASCII letter is also looked up in its other case.
    bool Contains(char16_t character, bool ignoreCase) const;

    // The classes are ASCII only, and white space is exactly space, tab, CR and LF.
    static bool IsWordCharacter(char16_t character);
    static bool IsSpaceCharacter(char16_t character);
    static bool IsDigitCharacter(char16_t character);

private:
    bool ContainsExactly(char16_t character) const;
    bool InClasses(char16_t character) const;

    std::vector<std::pair<char16_t, char16_t>> m_ranges;
    std::uint8_t m_classes = 0;
    bool m_negated = false;
};

// The other case of an ASCII letter; any other character is returned as it is.
char16_t OtherAsciiCase(char16_t character);
