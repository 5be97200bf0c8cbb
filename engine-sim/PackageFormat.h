#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Layout of a VKB package as this engine writes and reads it (little-endian):
//   0    64 bytes   header: magic and model name (the program reads the model from it)
//   64   64 bytes   package block: "MARLOWPK", revision, file count, package version,
//                   CRC-32 of the file table, CRC-32 of everything before that field
//   128  80 bytes   per file: name, partition code, size, offset, CRC-32 of the contents
//   then the contents, file after file at the offsets the table gives.
namespace marlow::format {

constexpr std::size_t kHeaderSize = 64;
constexpr std::size_t kBlockOffset = 64;
constexpr std::size_t kBlockSize = 64;
constexpr std::size_t kTableOffset = kBlockOffset + kBlockSize;
constexpr std::size_t kEntrySize = 80;

constexpr std::string_view kBlockTag = "MARLOWPK";
constexpr uint32_t kRevision = 1;
constexpr uint32_t kMaxFiles = 1024;

// Package block fields, as offsets from the start of the package.
constexpr std::size_t kTagAt = kBlockOffset;
constexpr std::size_t kRevisionAt = kBlockOffset + 8;
constexpr std::size_t kFileCountAt = kBlockOffset + 12;
constexpr std::size_t kVersionAt = kBlockOffset + 16;
constexpr std::size_t kVersionSize = 32;
constexpr std::size_t kTableCrcAt = kBlockOffset + 48;
constexpr std::size_t kHeaderCrcAt = kBlockOffset + 52;

// File table entry fields, as offsets from the start of the entry.
constexpr std::size_t kNameAt = 0;
constexpr std::size_t kNameSize = 48;
constexpr std::size_t kPartitionAt = 48;
constexpr std::size_t kSizeAt = 56;
constexpr std::size_t kOffsetAt = 64;
constexpr std::size_t kCrcAt = 72;

// The header's magic forms. Version 13 has two: 'V' 'K' 1 3 and "WTVK".
enum class HeaderForm { VK13, WTVK, VK14, VK15, VK16, VK17, VK18 };

int headerVersion(HeaderForm form);
void writeMagic(HeaderForm form, unsigned char* header);
std::optional<HeaderForm> headerFormOf(const unsigned char* header);
std::optional<HeaderForm> headerFormNamed(std::string_view name); // "13" to "18" or "WTVK"
std::string headerFormName(HeaderForm form);
std::size_t modelOffset(HeaderForm form);
// The longest model name the form holds with its NUL.
std::size_t modelCapacity(HeaderForm form);

// Partitions a package may write, one file each; a phone keeps partition P as
// storage/P.img. Only lk, system and userdata can be switched off.
enum class Partition : uint32_t {
    Preloader = 1, Lk, Boot, Recovery, Logo, Modem, System, Cache, Userdata
};

std::optional<Partition> partitionOfCode(uint32_t code);
std::optional<Partition> partitionNamed(std::string_view name);
std::string partitionName(Partition partition);

// File names become file names on the phone's storage: letters, digits, '.', '_'
// and '-' only, never "." or "..", so nothing escapes the storage folder.
bool isSafeFileName(std::string_view name);

} // namespace marlow::format
