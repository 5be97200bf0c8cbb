#pragma once
#include "engine-sim/Result.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace marlow {

// The small "key=value" files of the bay. Blank lines and lines starting with
// '#' or ';' are ignored; keys are case-insensitive; spaces around both are trimmed.
class IniFile {
public:
    static Result<IniFile> parse(std::string_view text);
    static Result<IniFile> load(const std::filesystem::path& path);

    std::optional<std::string> value(std::string_view key) const;
    // The first key not among known, if any.
    std::optional<std::string> unknownKey(const std::vector<std::string_view>& known) const;

    void set(std::string key, std::string value);
    std::string text() const;
    // Written beside the target and renamed into place, so readers never see half a file.
    Status save(const std::filesystem::path& path) const;

private:
    std::vector<std::pair<std::string, std::string>> m_entries;
};

} // namespace marlow
