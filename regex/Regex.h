#pragma once
#include "regex/MatchResult.h"
#include "regex/RegexProgram.h"

#include <QStringView>

// A compiled pattern of the program's own regular-expression subset over UTF-16 text.
// Text indexes are 16-bit code units. The program compiles every pattern with flags 0;
// case folding is normally switched on from inside a pattern by (?i).
class CRegex {
public:
    // Flag bits; other bits are accepted and ignored.
    enum Flags { SingleLine = 1, IgnoreCase = 8 };

    // Replaces any earlier pattern. Never fails: the pattern is read as far as it can be
    // understood. Only nesting too deep to follow safely makes every later Match report
    // TooComplex.
    void Compile(QStringView pattern, int flags = 0);

    // The first position from start on (-1: the beginning) where the pattern matches,
    // with the groups of the first match backtracking finds there. Without a compiled
    // pattern nothing matches.
    MatchResult Match(QStringView text, int start = -1) const;

private:
    RegexProgram m_program;
};
