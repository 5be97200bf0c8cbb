#pragma once
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace marlow {

// Ends a command with one line on standard error: usage mistakes exit with 2,
// everything else with 1.
class ToolFailure : public std::runtime_error {
public:
    ToolFailure(const std::string& message, int exitStatus = 1)
        : std::runtime_error(message), m_exitStatus(exitStatus) {}
    int exitStatus() const { return m_exitStatus; }

private:
    int m_exitStatus;
};

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
