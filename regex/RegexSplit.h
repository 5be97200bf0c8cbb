#pragma once
#include <QString>
#include <QStringView>

// Searches text for pattern (compiled with flags 0). When it matches: before is the text
// up to the match, match the matched text, after the rest, and the result is true. When
// it does not (or the search is too complex to finish) the result is false and the three
// outputs keep what they held. Each call compiles its own pattern, so calls may run on
// several threads at once.
bool RegexSplit(QStringView text, QStringView pattern, QString& before, QString& match, QString& after);
