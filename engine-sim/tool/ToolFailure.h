#pragma once
#include <stdexcept>
#include <string>

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

} // namespace marlow
