#include "regex/RegexParser.h"

namespace {

RegexNode MakeNode(RegexNode::Kind kind)
{
    RegexNode node;
    node.kind = kind;
    return node;
}

RegexNode CharacterNode(char16_t character, bool ignoreCase)
{
    RegexNode node = MakeNode(RegexNode::Kind::Character);
    node.character = character;
    node.ignoreCase = ignoreCase;
    return node;
}

RegexNode Combine(RegexNode::Kind kind, std::vector<RegexNode> children)
{
    if (children.size() == 1)
        return std::move(children.front());
    RegexNode node = MakeNode(children.empty() ? RegexNode::Kind::Empty : kind);
    node.children = std::move(children);
    return node;
}

std::optional<CRegexCharSet::Class> ClassOfEscape(char16_t letter)
{
    switch (letter) {
    case u'w': return CRegexCharSet::Word;
    case u'W': return CRegexCharSet::NonWord;
    case u's': return CRegexCharSet::Space;
    case u'S': return CRegexCharSet::NonSpace;
    case u'd': return CRegexCharSet::Digit;
    case u'D': return CRegexCharSet::NonDigit;
    default: return std::nullopt;
    }
}

char16_t EscapedCharacter(char16_t letter)
{
    switch (letter) {
    case u't': return u'\t';
    case u'n': return u'\n';
    case u'r': return u'\r';
    default: return letter;
    }
}

bool IsQuantifier(char16_t character)
{
    return character == u'*' || character == u'+' || character == u'?';
}

} // namespace

CRegexParser::CRegexParser(QStringView pattern, bool ignoreCase, bool singleLine)
    : m_pattern(pattern)
    , m_ignoreCase(ignoreCase)
    , m_singleLine(singleLine)
{
}

RegexNode CRegexParser::Parse()
{
    // Whatever the top level leaves unread starts with a ')' that closes no group.
    return ParseAlternation(0, m_ignoreCase);
}

char16_t CRegexParser::Peek(qsizetype ahead) const
{
    const qsizetype at = m_position + ahead;
    return at < m_pattern.size() ? m_pattern[at].unicode() : u'\0';
}

bool CRegexParser::Skip(QStringView text)
{
    if (!m_pattern.sliced(m_position).startsWith(text))
        return false;
    m_position += text.size();
    return true;
}

// ignoreCase is taken by value: an inline (?i) lasts to the end of the enclosing group.
RegexNode CRegexParser::ParseAlternation(int depth, bool ignoreCase)
{
    std::vector<RegexNode> alternatives;
    alternatives.push_back(ParseSequence(depth, ignoreCase));
    while (!AtEnd() && Peek() == u'|') {
        ++m_position;
        alternatives.push_back(ParseSequence(depth, ignoreCase));
    }
    if (alternatives.size() == 1)
        return std::move(alternatives.front());
    RegexNode node = MakeNode(RegexNode::Kind::Alternation);
    node.children = std::move(alternatives);
    return node;
}

RegexNode CRegexParser::ParseSequence(int depth, bool& ignoreCase)
{
    std::vector<RegexNode> items;
    while (!AtEnd() && Peek() != u'|' && Peek() != u')') {
        std::optional<RegexNode> atom = ParseAtom(depth, ignoreCase);
        if (!atom)
            continue;
        while (!AtEnd() && IsQuantifier(Peek()))
            Quantify(*atom, Next());
        items.push_back(std::move(*atom));
    }
    return Combine(RegexNode::Kind::Sequence, std::move(items));
}

// Nothing for an inline modifier, which matches nothing and cannot be repeated.
std::optional<RegexNode> CRegexParser::ParseAtom(int depth, bool& ignoreCase)
{
    const char16_t character = Next();
    switch (character) {
    case u'(': return ParseGroup(depth, ignoreCase);
    case u'[': return ParseSet(ignoreCase);
    case u'\\': return ParseEscape(ignoreCase);
    case u'^': return MakeNode(RegexNode::Kind::TextStart);
    case u'$': return MakeNode(RegexNode::Kind::TextEnd);
    case u'.': {
        RegexNode node = MakeNode(RegexNode::Kind::AnyCharacter);
        node.matchesLineFeed = m_singleLine;
        return node;
    }
    default: return CharacterNode(character, ignoreCase);
    }
}

std::optional<RegexNode> CRegexParser::ParseGroup(int depth, bool& ignoreCase)
{
    if (depth >= kMaxDepth) {
        m_tooDeep = true;
        return std::nullopt;
    }
    RegexNode node = MakeNode(RegexNode::Kind::Group);
    if (Skip(u"?=")) {
        node.kind = RegexNode::Kind::LookAhead;
    } else if (Skip(u"?!")) {
        node.kind = RegexNode::Kind::LookAhead;
        node.negative = true;
    } else if (Skip(u"?<=")) {
        node.kind = RegexNode::Kind::LookBehind;
    } else if (Skip(u"?<!")) {
        node.kind = RegexNode::Kind::LookBehind;
        node.negative = true;
    } else if (Skip(u"?")) {
        // (?i) switches case folding on for the rest of the enclosing group;
        // (?i:...) and (?:...) group without capturing.
        bool bodyIgnoreCase = ignoreCase;
        if (ParseModifiers(bodyIgnoreCase)) {
            ignoreCase = bodyIgnoreCase;
            return std::nullopt;
        }
        return ParseGroupBody(depth, bodyIgnoreCase);
    } else {
        node.group = ++m_groupCount;
    }
    node.children.push_back(ParseGroupBody(depth, ignoreCase));
    return node;
}

RegexNode CRegexParser::ParseGroupBody(int depth, bool ignoreCase)
{
    RegexNode body = ParseAlternation(depth + 1, ignoreCase);
    if (!AtEnd() && Peek() == u')')
        ++m_position;
    return body;
}

// Reads the letters after "(?". True for a whole modifier "(?i)"; false when the
// letters open a group, the ':' (if any) being consumed.
bool CRegexParser::ParseModifiers(bool& ignoreCase)
{
    bool switchOn = true;
    while (!AtEnd()) {
        const char16_t character = Peek();
        if (character == u')') {
            ++m_position;
            return true;
        }
        if (character == u':') {
            ++m_position;
            return false;
        }
        if (character == u'-')
            switchOn = false;
        else if (character == u'i')
            ignoreCase = switchOn;
        else if (!(character >= u'a' && character <= u'z') && !(character >= u'A' && character <= u'Z'))
            return false;
        ++m_position;
    }
    return true;
}

RegexNode CRegexParser::ParseEscape(bool ignoreCase)
{
    if (AtEnd())
        return CharacterNode(u'\\', ignoreCase);
    const char16_t letter = Next();
    if (const std::optional<CRegexCharSet::Class> characterClass = ClassOfEscape(letter)) {
        RegexNode node = MakeNode(RegexNode::Kind::Set);
        node.set.AddClass(*characterClass);
        return node;
    }
    return CharacterNode(EscapedCharacter(letter), ignoreCase);
}

RegexNode CRegexParser::ParseSet(bool ignoreCase)
{
    RegexNode node = MakeNode(RegexNode::Kind::Set);
    node.ignoreCase = ignoreCase;
    if (!AtEnd() && Peek() == u'^') {
        ++m_position;
        node.set.Negate();
    }
    bool first = true;
    while (!AtEnd()) {
        if (Peek() == u']' && !first) {
            ++m_position;
            break;
        }
        first = false;
        char16_t low = 0;
        if (!ReadSetMember(low, node.set))
            continue;
        const bool range = Peek() == u'-' && m_position + 1 < m_pattern.size() && Peek(1) != u']';
        if (!range) {
            node.set.AddCharacter(low);
            continue;
        }
        ++m_position;
        char16_t high = 0;
        if (ReadSetMember(high, node.set)) {
            node.set.AddRange(low, high);
        } else {
            node.set.AddCharacter(low);
            node.set.AddCharacter(u'-');
        }
    }
    return node;
}

// Reads one member of a bracket set. A class such as \w goes straight into the set
// (false); a single character is handed back (true).
bool CRegexParser::ReadSetMember(char16_t& character, CRegexCharSet& set)
{
    character = Next();
    if (character != u'\\' || AtEnd())
        return true;
    const char16_t letter = Next();
    if (const std::optional<CRegexCharSet::Class> characterClass = ClassOfEscape(letter)) {
        set.AddClass(*characterClass);
        return false;
    }
    character = EscapedCharacter(letter);
    return true;
}

// A repeat of a repeat is one repeat: (X*)+ is X*, (X+)+ is X+, (X?)? is X?.
void CRegexParser::Quantify(RegexNode& atom, char16_t quantifier)
{
    const int minimum = quantifier == u'+' ? 1 : 0;
    const int maximum = quantifier == u'?' ? 1 : RegexNode::kUnbounded;
    if (atom.kind == RegexNode::Kind::Repeat) {
        atom.minimum *= minimum;
        if (maximum == RegexNode::kUnbounded)
            atom.maximum = RegexNode::kUnbounded;
        return;
    }
    RegexNode repeat = MakeNode(RegexNode::Kind::Repeat);
    repeat.minimum = minimum;
    repeat.maximum = maximum;
    repeat.children.push_back(std::move(atom));
    atom = std::move(repeat);
}
