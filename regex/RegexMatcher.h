#pragma once
#include "regex/MatchResult.h"
#include "regex/RegexProgram.h"

#include <QStringView>

#include <cstdint>
#include <vector>

// Runs a compiled pattern over one text by backtracking, first alternative first.
// Each (instruction, position) pair is followed at most once per search: a pair that
// failed once fails again, and an empty pass through a repeat cannot loop. That keeps a
// search polynomial; a step budget and a memory cap turn what is left of a hostile
// pattern or text into a TooComplex result instead of a hang. Nothing recurses except
// look-arounds, whose nesting the parser bounds.
class CRegexMatcher {
public:
    static constexpr std::int64_t kStepBudget = 8'000'000;
    static constexpr std::int64_t kMaxVisitedBits = std::int64_t(64) * 1024 * 1024;

    CRegexMatcher(const RegexProgram& program, QStringView text);

    MatchResult Search(int start);

private:
    enum class Outcome { Matched, Failed, Exhausted };

    // A branch still to try (pc >= 0), or a capture slot to put back (pc = -1 - slot).
    struct Entry {
        int pc;
        int value;
    };

    Outcome Run(int pc, int position, std::vector<int>& captures, bool keepVisited);
    Outcome Follow(int pc, int position, std::vector<int>& captures, bool keepVisited);
    Outcome LookAround(const RegexInstruction& look, int position, std::vector<int>& captures);
    bool Consume(const RegexInstruction& step, int& position) const;
    bool Accepts(const RegexInstruction& step, char16_t character) const;
    bool FirstVisit(int pc, int position, bool keepVisited);
    void SetCapture(std::vector<int>& captures, int slot, int value);

    const RegexProgram& m_program;
    QStringView m_text;
    int m_length = 0;
    std::vector<std::uint64_t> m_visited;
    std::vector<std::int64_t> m_touched; // visits inside look-arounds, forgotten after each one
    std::vector<Entry> m_stack;
    std::int64_t m_steps = 0;
    int m_matchEnd = -1;
};
