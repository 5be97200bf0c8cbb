#include "regex/Regex.h"
#include "regex/RegexSplit.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// Input: one byte of compile flags, the pattern, a zero byte, the text (both UTF-8).
// Besides crashes and hangs it checks what every match must satisfy.
namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

void CheckBounds(const MatchResult& result, int length)
{
    if (!result.IsMatched())
        return;
    Require(result.Start() >= 0 && result.Start() <= result.End() && result.End() <= length);
    for (int group = 1; group <= result.GroupCount(); ++group) {
        const bool absent = result.Start(group) == -1 && result.End(group) == -1;
        Require(absent || (result.Start(group) >= 0 && result.End(group) <= length));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArrayView input(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
    const qsizetype separator = input.indexOf('\0');
    const QString pattern = QString::fromUtf8(separator < 0 ? input : input.first(separator));
    const QString text = separator < 0 ? QString() : QString::fromUtf8(input.sliced(separator + 1));

    CRegex regex;
    regex.Compile(pattern, data[0]);
    const MatchResult first = regex.Match(text);
    CheckBounds(first, int(text.size()));
    if (first.IsMatched()) {
        // Every earlier position failed, so searching from the match start finds it again.
        const MatchResult again = regex.Match(text, first.Start());
        if (again.IsMatched())
            Require(again.Start() == first.Start() && again.End() == first.End());
    }

    QString before, match, after;
    if (RegexSplit(text, pattern, before, match, after))
        Require(before + match + after == text);
    return 0;
}
