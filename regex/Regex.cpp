#include "regex/Regex.h"

#include "regex/RegexCompiler.h"
#include "regex/RegexMatcher.h"
#include "regex/RegexParser.h"

void CRegex::Compile(QStringView pattern, int flags)
{
    CRegexParser parser(pattern, (flags & IgnoreCase) != 0, (flags & SingleLine) != 0);
    const RegexNode root = parser.Parse();
    m_program = CRegexCompiler().Compile(root, parser.GroupCount());
    m_program.tooComplex = parser.IsTooDeep();
}

MatchResult CRegex::Match(QStringView text, int start) const
{
    return CRegexMatcher(m_program, text).Search(start);
}
