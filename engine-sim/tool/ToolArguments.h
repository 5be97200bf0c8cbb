#pragma once
#include "engine-sim/tool/ToolFailure.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace marlow {

// A command's words: "--name value" or "--name=value" options, the rest in order.
class ToolArguments {
public:
    ToolArguments(const std::vector<std::string>& words, const std::set<std::string>& options);

    std::optional<std::string> option(const std::string& name) const;
    std::string requiredOption(const std::string& name) const;
    const std::vector<std::string>& positional() const { return m_positional; }
    // The positionals, refused unless there are between least and most of them.
    const std::vector<std::string>& positional(std::size_t least, std::size_t most, const std::string& usage) const;

private:
    std::map<std::string, std::string> m_options;
    std::vector<std::string> m_positional;
};

int cellNumber(const std::string& text);

} // namespace marlow
