#include "engine-sim/tool/ToolArguments.h"

namespace marlow {

ToolArguments::ToolArguments(const std::vector<std::string>& words, const std::set<std::string>& options)
{
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word.rfind("--", 0) != 0) {
            m_positional.push_back(word);
            continue;
        }
        const auto equals = word.find('=');
        const std::string name = word.substr(0, equals);
        if (!options.count(name))
            throw ToolFailure("unknown option " + name, 2);
        if (equals != std::string::npos) {
            m_options[name] = word.substr(equals + 1);
        } else if (i + 1 < words.size()) {
            m_options[name] = words[++i];
        } else {
            throw ToolFailure(name + " needs a value", 2);
        }
    }
}

std::optional<std::string> ToolArguments::option(const std::string& name) const
{
    const auto found = m_options.find(name);
    if (found == m_options.end())
        return std::nullopt;
    return found->second;
}

std::string ToolArguments::requiredOption(const std::string& name) const
{
    const std::optional<std::string> value = option(name);
    if (!value)
        throw ToolFailure(name + " is required", 2);
    return *value;
}

const std::vector<std::string>& ToolArguments::positional(std::size_t least, std::size_t most,
                                                          const std::string& usage) const
{
    if (m_positional.size() < least || m_positional.size() > most)
        throw ToolFailure("usage: " + usage, 2);
    return m_positional;
}

int cellNumber(const std::string& text)
{
    if (text.size() != 1 || text[0] < '0' || text[0] > '7')
        throw ToolFailure("cells are numbered 0 to 7, not \"" + text + "\"", 2);
    return text[0] - '0';
}

} // namespace marlow
