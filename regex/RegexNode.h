#pragma once
#include "regex/RegexCharSet.h"

#include <vector>

// One element of a parsed pattern; a pattern is a tree of them.
struct RegexNode {
    enum class Kind { Empty, Character, AnyCharacter, Set, TextStart, TextEnd, Group, LookAhead, LookBehind, Repeat, Sequence, Alternation };
    static constexpr int kUnbounded = -1;

    Kind kind = Kind::Empty;
    char16_t character = 0;       // Character
    bool ignoreCase = false;      // Character, Set
    bool matchesLineFeed = false; // AnyCharacter
    bool negative = false;        // LookAhead, LookBehind: the body must not match
    int group = 0;                // Group: its capture number, from 1
    int minimum = 0;              // Repeat: 0 or 1
    int maximum = kUnbounded;     // Repeat: 1 or kUnbounded
    CRegexCharSet set;            // Set
    std::vector<RegexNode> children;
};
