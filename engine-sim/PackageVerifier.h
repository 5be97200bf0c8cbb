#pragma once
#include "engine-sim/Result.h"

#include <filesystem>
#include <functional>
#include <string>

namespace marlow {

// Checks a package through and through (header, package block, file table, every
// file's checksum) and the GPS image beside it, telling each step as it goes.
class PackageVerifier {
public:
    // kind 0: a step begins; kind 1: a part has been checked.
    using Step = std::function<void(int kind, const std::string& text)>;

    PackageVerifier(Step step, std::function<bool()> cancelled);

    // The model the package is for, or why it must not be used. An empty GPS
    // path means there is no GPS image.
    Result<std::string> verify(const std::filesystem::path& package, const std::filesystem::path& gpsImage) const;

private:
    Status verifyContents(const std::filesystem::path& package, std::string& model) const;
    Status verifyGpsImage(const std::filesystem::path& gpsImage) const;

    Step m_step;
    std::function<bool()> m_cancelled;
};

} // namespace marlow
