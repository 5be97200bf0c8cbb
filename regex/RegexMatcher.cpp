#include "regex/RegexMatcher.h"

using Op = RegexInstruction::Op;

CRegexMatcher::CRegexMatcher(const RegexProgram& program, QStringView text)
    : m_program(program)
    , m_text(text)
{
}

MatchResult CRegexMatcher::Search(int start)
{
    MatchResult result;
    const std::int64_t states = std::int64_t(m_program.instructions.size()) * (std::int64_t(m_text.size()) + 1);
    if (m_program.tooComplex || states > kMaxVisitedBits) {
        result.status = MatchResult::Status::TooComplex;
        return result;
    }
    m_length = int(m_text.size());
    if (start < 0)
        start = 0;
    if (start > m_length || m_program.instructions.empty())
        return result;
    m_visited.assign(std::size_t((states + 63) / 64), 0);

    std::vector<int> captures(std::size_t(2 * (m_program.groupCount + 1)), -1);
    // A state that failed from an earlier start fails from this one too, so the
    // visits are kept for the whole search.
    for (int from = start; from <= m_length; ++from) {
        const Outcome outcome = Run(0, from, captures, true);
        if (outcome == Outcome::Exhausted) {
            result.status = MatchResult::Status::TooComplex;
            return result;
        }
        if (outcome == Outcome::Matched) {
            captures[0] = from;
            captures[1] = m_matchEnd;
            result.status = MatchResult::Status::Matched;
            result.bounds = std::move(captures);
            return result;
        }
    }
    return result;
}

CRegexMatcher::Outcome CRegexMatcher::Run(int pc, int position, std::vector<int>& captures, bool keepVisited)
{
    const std::size_t stackBase = m_stack.size();
    const std::size_t touchedBase = m_touched.size();
    m_stack.push_back({pc, position});
    Outcome outcome = Outcome::Failed;
    while (outcome == Outcome::Failed && m_stack.size() > stackBase) {
        const Entry entry = m_stack.back();
        m_stack.pop_back();
        if (entry.pc < 0)
            captures[std::size_t(-1 - entry.pc)] = entry.value;
        else
            outcome = Follow(entry.pc, entry.value, captures, keepVisited);
    }
    m_stack.resize(stackBase);
    if (!keepVisited) {
        for (std::size_t i = touchedBase; i < m_touched.size(); ++i)
            m_visited[std::size_t(m_touched[i] / 64)] &= ~(std::uint64_t(1) << (m_touched[i] % 64));
        m_touched.resize(touchedBase);
    }
    return outcome;
}

// Follows one path, leaving its alternatives on the stack, until it matches or fails.
CRegexMatcher::Outcome CRegexMatcher::Follow(int pc, int position, std::vector<int>& captures, bool keepVisited)
{
    for (;;) {
        if (!FirstVisit(pc, position, keepVisited))
            return Outcome::Failed;
        if (++m_steps > kStepBudget)
            return Outcome::Exhausted;
        const RegexInstruction& step = m_program.instructions[std::size_t(pc)];
        switch (step.op) {
        case Op::Character:
        case Op::AnyCharacter:
        case Op::Set:
            if (!Consume(step, position))
                return Outcome::Failed;
            ++pc;
            break;
        case Op::Split:
            m_stack.push_back({step.y, position});
            pc = step.x;
            break;
        case Op::Jump: pc = step.x; break;
        case Op::Save:
            SetCapture(captures, step.x, position);
            ++pc;
            break;
        case Op::TextStart:
            if (position != 0)
                return Outcome::Failed;
            ++pc;
            break;
        case Op::TextEnd:
            if (position != m_length)
                return Outcome::Failed;
            ++pc;
            break;
        case Op::Look: {
            const Outcome look = LookAround(step, position, captures);
            if (look != Outcome::Matched)
                return look;
            ++pc;
            break;
        }
        case Op::Match: m_matchEnd = position; return Outcome::Matched;
        }
    }
}

// A look-around is a search of its own, anchored here; a positive one hands the
// groups it captured to the enclosing match.
CRegexMatcher::Outcome CRegexMatcher::LookAround(const RegexInstruction& look, int position, std::vector<int>& captures)
{
    std::vector<int> inner = captures;
    m_steps += std::int64_t(captures.size());
    const Outcome outcome = Run(look.x, position, inner, false);
    if (outcome == Outcome::Exhausted)
        return outcome;
    const bool matched = outcome == Outcome::Matched;
    if (matched == look.flag)
        return Outcome::Failed;
    if (matched) {
        for (std::size_t slot = 0; slot < captures.size(); ++slot) {
            if (inner[slot] != captures[slot])
                SetCapture(captures, int(slot), inner[slot]);
        }
    }
    return Outcome::Matched;
}

void CRegexMatcher::SetCapture(std::vector<int>& captures, int slot, int value)
{
    m_stack.push_back({-1 - slot, captures[std::size_t(slot)]});
    captures[std::size_t(slot)] = value;
}

bool CRegexMatcher::Consume(const RegexInstruction& step, int& position) const
{
    if (step.backward) {
        if (position == 0 || !Accepts(step, m_text[position - 1].unicode()))
            return false;
        --position;
    } else {
        if (position == m_length || !Accepts(step, m_text[position].unicode()))
            return false;
        ++position;
    }
    return true;
}

bool CRegexMatcher::Accepts(const RegexInstruction& step, char16_t character) const
{
    switch (step.op) {
    case Op::Character: return character == step.character || (step.flag && OtherAsciiCase(character) == step.character);
    case Op::AnyCharacter: return step.flag || character != u'\n';
    case Op::Set: return m_program.sets[std::size_t(step.x)].Contains(character, step.flag);
    default: return false;
    }
}

bool CRegexMatcher::FirstVisit(int pc, int position, bool keepVisited)
{
    const std::int64_t state = std::int64_t(pc) * (m_length + 1) + position;
    std::uint64_t& word = m_visited[std::size_t(state / 64)];
    const std::uint64_t bit = std::uint64_t(1) << (state % 64);
    if (word & bit)
        return false;
    word |= bit;
    if (!keepVisited)
        m_touched.push_back(state);
    return true;
}
