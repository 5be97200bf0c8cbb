#pragma once
#include "regex/RegexNode.h"

#include <QStringView>

#include <optional>

// Reads a pattern into a tree. No pattern is rejected: it is read as far as it can be
// understood. A ')' that closes no group ends the pattern; a group or bracket set left
// open closes at the end; '*', '+' or '?' with nothing before it is a plain character.
class CRegexParser {
public:
    // Deeper nesting of groups than this is refused rather than risk the stack.
    static constexpr int kMaxDepth = 100;

    CRegexParser(QStringView pattern, bool ignoreCase, bool singleLine);

    RegexNode Parse();
    int GroupCount() const { return m_groupCount; }
    bool IsTooDeep() const { return m_tooDeep; }

private:
    RegexNode ParseAlternation(int depth, bool ignoreCase);
    RegexNode ParseSequence(int depth, bool& ignoreCase);
    std::optional<RegexNode> ParseAtom(int depth, bool& ignoreCase);
    std::optional<RegexNode> ParseGroup(int depth, bool& ignoreCase);
    RegexNode ParseGroupBody(int depth, bool ignoreCase);
    bool ParseModifiers(bool& ignoreCase);
    RegexNode ParseSet(bool ignoreCase);
    RegexNode ParseEscape(bool ignoreCase);
    bool ReadSetMember(char16_t& character, CRegexCharSet& set);
    static void Quantify(RegexNode& atom, char16_t quantifier);

    bool AtEnd() const { return m_tooDeep || m_position >= m_pattern.size(); }
    char16_t Peek(qsizetype ahead = 0) const;
    char16_t Next() { return m_pattern[m_position++].unicode(); }
    bool Skip(QStringView text);

    QStringView m_pattern;
    qsizetype m_position = 0;
    bool m_ignoreCase;
    bool m_singleLine;
    int m_groupCount = 0;
    bool m_tooDeep = false;
};
