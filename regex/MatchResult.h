#pragma once
#include <cstddef>
#include <vector>

// The outcome of one search. Positions are indexes in 16-bit code units, ends
// exclusive; a group that took no part has start and end -1.
struct MatchResult {
    enum class Status { NoMatch, Matched, TooComplex };

    Status status = Status::NoMatch;
    std::vector<int> bounds; // start and end of the whole match, then of each group from 1

    bool IsMatched() const { return status == Status::Matched; }
    int GroupCount() const { return bounds.empty() ? 0 : int(bounds.size()) / 2 - 1; }
    int Start(int group = 0) const { return Bound(2 * group); }
    int End(int group = 0) const { return Bound(2 * group + 1); }

private:
    int Bound(int slot) const { return slot >= 0 && slot < int(bounds.size()) ? bounds[std::size_t(slot)] : -1; }
};
