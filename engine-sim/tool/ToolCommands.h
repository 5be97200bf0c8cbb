#pragma once
#include <string>
#include <vector>

// The commands of the marlow tool; each gets the words after its name, prints
// what it has to say on standard output and throws ToolFailure when it fails.
namespace marlow {

void packCommand(const std::vector<std::string>& words);
void infoCommand(const std::vector<std::string>& words);
void verifyCommand(const std::vector<std::string>& words);
void bayCommand(const std::vector<std::string>& words);
void demoCommand(const std::vector<std::string>& words);

} // namespace marlow
