#include "engine-sim/PackageFormat.h"

#include <array>
#include <cstring>

namespace marlow::format {

namespace {

struct FormFacts {
    HeaderForm form;
    const char* name;
    std::array<unsigned char, 4> magic;
    int version;
    std::size_t modelOffset;
};

constexpr std::array<FormFacts, 7> kForms = {{
    {HeaderForm::VK13, "13", {'V', 'K', 1, 3}, 13, 4},
    {HeaderForm::WTVK, "WTVK", {'W', 'T', 'V', 'K'}, 13, 4},
    {HeaderForm::VK14, "14", {'V', 'K', 1, 4}, 14, 36},
    {HeaderForm::VK15, "15", {'V', 'K', 1, 5}, 15, 36},
    {HeaderForm::VK16, "16", {'V', 'K', 1, 6}, 16, 36},
    {HeaderForm::VK17, "17", {'V', 'K', 1, 7}, 17, 48},
    {HeaderForm::VK18, "18", {'V', 'K', 1, 8}, 18, 4},
}};

const FormFacts& factsOf(HeaderForm form)
{
    return kForms[static_cast<std::size_t>(form)];
}

constexpr std::array<const char*, 9> kPartitionNames = {
    "preloader", "lk", "boot", "recovery", "logo", "modem", "system", "cache", "userdata"};

} // namespace

int headerVersion(HeaderForm form) { return factsOf(form).version; }
std::string headerFormName(HeaderForm form) { return factsOf(form).name; }
std::size_t modelOffset(HeaderForm form) { return factsOf(form).modelOffset; }
std::size_t modelCapacity(HeaderForm form) { return kHeaderSize - modelOffset(form) - 1; }

void writeMagic(HeaderForm form, unsigned char* header)
{
    std::memcpy(header, factsOf(form).magic.data(), 4);
}

std::optional<HeaderForm> headerFormOf(const unsigned char* header)
{
    for (const FormFacts& facts : kForms)
        if (std::memcmp(header, facts.magic.data(), 4) == 0)
            return facts.form;
    return std::nullopt;
}

std::optional<HeaderForm> headerFormNamed(std::string_view name)
{
    for (const FormFacts& facts : kForms)
        if (name == facts.name)
            return facts.form;
    return std::nullopt;
}

std::optional<Partition> partitionOfCode(uint32_t code)
{
    if (code < 1 || code > kPartitionNames.size())
        return std::nullopt;
    return static_cast<Partition>(code);
}

std::optional<Partition> partitionNamed(std::string_view name)
{
    for (std::size_t i = 0; i < kPartitionNames.size(); ++i)
        if (name == kPartitionNames[i])
            return static_cast<Partition>(i + 1);
    return std::nullopt;
}

std::string partitionName(Partition partition)
{
    return kPartitionNames[static_cast<std::size_t>(partition) - 1];
}

bool isSafeFileName(std::string_view name)
{
    if (name.empty() || name.size() >= kNameSize || name == "." || name == "..")
        return false;
    for (const char c : name) {
        const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
            || c == '.' || c == '_' || c == '-';
        if (!allowed)
            return false;
    }
    return true;
}

} // namespace marlow::format
