#include "engine-sim/IniFile.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace marlow {

namespace {

std::string trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return std::string(text.substr(first, last - first + 1));
}

std::string lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return text;
}

} // namespace

Result<IniFile> IniFile::parse(std::string_view text)
{
    IniFile ini;
    int lineNumber = 0;
    std::istringstream lines{std::string(text)};
    for (std::string line; std::getline(lines, line);) {
        ++lineNumber;
        const std::string content = trimmed(line);
        if (content.empty() || content[0] == '#' || content[0] == ';')
            continue;
        const auto equals = content.find('=');
        if (equals == std::string::npos || trimmed(content.substr(0, equals)).empty())
            return Result<IniFile>::failure("line " + std::to_string(lineNumber) + ": expected key=value");
        ini.set(lowered(trimmed(content.substr(0, equals))), trimmed(content.substr(equals + 1)));
    }
    return ini;
}

Result<IniFile> IniFile::load(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return Result<IniFile>::failure("cannot read " + path.string());
    std::ostringstream text;
    text << file.rdbuf();
    Result<IniFile> ini = parse(text.str());
    if (!ini)
        return Result<IniFile>::failure(path.filename().string() + ": " + ini.error());
    return ini;
}

std::optional<std::string> IniFile::value(std::string_view key) const
{
    const std::string wanted = lowered(std::string(key));
    for (const auto& [name, value] : m_entries)
        if (name == wanted)
            return value;
    return std::nullopt;
}

std::optional<std::string> IniFile::unknownKey(const std::vector<std::string_view>& known) const
{
    for (const auto& entry : m_entries)
        if (std::find(known.begin(), known.end(), entry.first) == known.end())
            return entry.first;
    return std::nullopt;
}

void IniFile::set(std::string key, std::string value)
{
    key = lowered(std::move(key));
    for (auto& entry : m_entries) {
        if (entry.first == key) {
            entry.second = std::move(value);
            return;
        }
    }
    m_entries.emplace_back(std::move(key), std::move(value));
}

std::string IniFile::text() const
{
    std::string text;
    for (const auto& [name, value] : m_entries)
        text += name + "=" + value + "\n";
    return text;
}

Status IniFile::save(const std::filesystem::path& path) const
{
    std::filesystem::path partial = path;
    partial += ".partial";
    {
        std::ofstream file(partial, std::ios::binary | std::ios::trunc);
        file << text();
        file.close();
        if (!file)
            return Status::failure("cannot write " + path.string());
    }
    std::error_code error;
    std::filesystem::rename(partial, path, error);
    if (error) {
        std::filesystem::remove(partial, error);
        return Status::failure("cannot write " + path.string());
    }
    return succeeded();
}

} // namespace marlow
