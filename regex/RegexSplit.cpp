#include "regex/RegexSplit.h"

#include "regex/Regex.h"

bool RegexSplit(QStringView text, QStringView pattern, QString& before, QString& match, QString& after)
{
    CRegex regex;
    regex.Compile(pattern, 0);
    const MatchResult result = regex.Match(text);
    if (!result.IsMatched())
        return false;
    // Copied out before any output is assigned: an output may be the text itself.
    QString head = text.first(result.Start()).toString();
    QString matched = text.sliced(result.Start(), result.End() - result.Start()).toString();
    QString tail = text.sliced(result.End()).toString();
    before = std::move(head);
    match = std::move(matched);
    after = std::move(tail);
    return true;
}
