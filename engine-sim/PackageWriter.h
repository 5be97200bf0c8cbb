#pragma once
#include "engine-sim/PackageFormat.h"
#include "engine-sim/Result.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <variant>
#include <vector>

namespace marlow {

// Builds a package from image files or bytes. The package appears whole under its
// name or not at all: it is written beside it first and renamed into place.
class PackageWriter {
public:
    PackageWriter(std::string model, std::string version, format::HeaderForm form = format::HeaderForm::VK18);

    void addFile(std::string name, format::Partition partition, std::filesystem::path source);
    void addBytes(std::string name, format::Partition partition, std::vector<unsigned char> bytes);

    Status write(const std::filesystem::path& target) const;

private:
    struct Source {
        std::string name;
        format::Partition partition;
        std::variant<std::filesystem::path, std::vector<unsigned char>> contents;
    };

    Status checkInputs() const;
    Result<std::vector<uint64_t>> sourceSizes() const;
    std::vector<unsigned char> front(const std::vector<uint64_t>& sizes, const std::vector<uint32_t>& crcs) const;
    Status writeContents(std::ofstream& out, const std::vector<uint64_t>& sizes, std::vector<uint32_t>& crcs) const;

    std::string m_model;
    std::string m_version;
    format::HeaderForm m_form;
    std::vector<Source> m_sources;
};

} // namespace marlow
