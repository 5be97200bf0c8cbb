#pragma once
#include "regex/RegexCharSet.h"

#include <cstdint>
#include <vector>

// One step of a compiled pattern.
struct RegexInstruction {
    enum class Op : std::uint8_t {
        Character,    // the next character equals `character`
        AnyCharacter, // any character but line feed, or any at all when `flag`
        Set,          // the next character is in sets[x]
        Split,        // try x first, then y
        Jump,         // continue at x
        Save,         // record the position in capture slot x
        TextStart,
        TextEnd,
        Look,         // the sub-program starting at x must match here (must not when `flag`)
        Match,
    };

    Op op = Op::Match;
    bool backward = false; // consuming steps read the character before the position and move left
    bool flag = false;     // Character and Set: ignore case; AnyCharacter: line feed too; Look: negative
    char16_t character = 0;
    int x = 0;
    int y = 0;
};

// A compiled pattern: the main program starts at instruction 0; each look-around body
// follows it as a sub-program of its own, ending in Match.
struct RegexProgram {
    std::vector<RegexInstruction> instructions;
    std::vector<CRegexCharSet> sets;
    int groupCount = 0;
    bool tooComplex = false;
};
