#include "engine-sim/PackageReader.h"

#include "engine-sim/ByteOrder.h"
#include "engine-sim/Crc32.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

namespace marlow {

using namespace format;

namespace {

constexpr std::size_t kChunk = 1 << 20;

// A NUL-terminated text in a fixed field, ending at the field's end without one.
std::string fieldText(std::span<const unsigned char> field)
{
    const auto nul = std::find(field.begin(), field.end(), 0);
    return std::string(field.begin(), nul);
}

Result<PackageEntry> parseEntry(std::span<const unsigned char> entry, std::size_t index, uint64_t contentsStart,
                                uint64_t packageSize)
{
    const auto damaged = [index](const std::string& what) {
        return Result<PackageEntry>::failure("damaged file table: entry " + std::to_string(index + 1) + " " + what);
    };
    PackageEntry parsed;
    const std::span<const unsigned char> nameField = entry.subspan(kNameAt, kNameSize);
    if (std::find(nameField.begin(), nameField.end(), 0) == nameField.end())
        return damaged("has no name end");
    parsed.name = fieldText(nameField);
    if (!isSafeFileName(parsed.name))
        return damaged("has an unusable file name");
    const uint32_t code = loadLittleEndian<uint32_t>(&entry[kPartitionAt]);
    const std::optional<Partition> partition = partitionOfCode(code);
    if (!partition)
        return damaged("(" + parsed.name + ") names unknown partition code " + std::to_string(code));
    parsed.partition = *partition;
    parsed.size = loadLittleEndian<uint64_t>(&entry[kSizeAt]);
    parsed.offset = loadLittleEndian<uint64_t>(&entry[kOffsetAt]);
    parsed.crc = loadLittleEndian<uint32_t>(&entry[kCrcAt]);
    if (parsed.offset < contentsStart)
        return damaged("(" + parsed.name + ") overlaps the file table");
    if (parsed.offset > packageSize || parsed.size > packageSize - parsed.offset)
        return Result<PackageEntry>::failure("package is truncated (" + parsed.name + ")");
    return parsed;
}

} // namespace

PackageReader::PackageReader(std::ifstream file, PackageLayout layout)
    : m_file(std::move(file)), m_layout(std::move(layout))
{
}

Result<std::size_t> PackageReader::layoutSize(std::span<const unsigned char> front, uint64_t packageSize)
{
    using Size = Result<std::size_t>;
    if (front.size() < kHeaderSize || !headerFormOf(front.data()))
        return Size::failure("not a VKB package");
    if (front.size() < kTableOffset || std::memcmp(&front[kTagAt], kBlockTag.data(), kBlockTag.size()) != 0)
        return Size::failure("not a package this engine can read (no package block)");
    const uint32_t revision = loadLittleEndian<uint32_t>(&front[kRevisionAt]);
    if (revision != kRevision)
        return Size::failure("unsupported package revision " + std::to_string(revision));
    if (Crc32::of(front.first(kHeaderCrcAt)) != loadLittleEndian<uint32_t>(&front[kHeaderCrcAt]))
        return Size::failure("header checksum mismatch");
    const uint32_t count = loadLittleEndian<uint32_t>(&front[kFileCountAt]);
    if (count == 0 || count > kMaxFiles)
        return Size::failure("damaged file table: " + std::to_string(count) + " files");
    const std::size_t size = kTableOffset + std::size_t(count) * kEntrySize;
    if (size > packageSize)
        return Size::failure("package is truncated (file table)");
    return size;
}

Result<PackageLayout> PackageReader::parseLayout(std::span<const unsigned char> front, uint64_t packageSize)
{
    using Layout = Result<PackageLayout>;
    const Result<std::size_t> size = layoutSize(front, packageSize);
    if (!size)
        return Layout::failure(size.error());
    if (front.size() < *size)
        return Layout::failure("package is truncated (file table)");
    const std::span<const unsigned char> table = front.subspan(kTableOffset, *size - kTableOffset);
    if (Crc32::of(table) != loadLittleEndian<uint32_t>(&front[kTableCrcAt]))
        return Layout::failure("file table checksum mismatch");

    PackageLayout layout;
    layout.form = *headerFormOf(front.data());
    layout.model = fieldText(front.subspan(modelOffset(layout.form), kHeaderSize - modelOffset(layout.form)));
    layout.version = fieldText(front.subspan(kVersionAt, kVersionSize));
    layout.packageSize = packageSize;
    std::set<std::string> names;
    std::set<Partition> partitions;
    for (std::size_t i = 0; i < table.size() / kEntrySize; ++i) {
        Result<PackageEntry> entry = parseEntry(table.subspan(i * kEntrySize, kEntrySize), i, *size, packageSize);
        if (!entry)
            return Layout::failure(entry.error());
        if (!names.insert(entry->name).second)
            return Layout::failure("damaged file table: " + entry->name + " appears twice");
        if (!partitions.insert(entry->partition).second)
            return Layout::failure("damaged file table: two files for partition " + partitionName(entry->partition));
        layout.entries.push_back(std::move(*entry));
    }
    return layout;
}

Result<std::unique_ptr<PackageReader>> PackageReader::open(const std::filesystem::path& path)
{
    using Reader = Result<std::unique_ptr<PackageReader>>;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return Reader::failure("cannot open the package " + path.string());
    const uint64_t packageSize = std::filesystem::file_size(path, error);
    std::ifstream file(path, std::ios::binary);
    if (error || !file)
        return Reader::failure("cannot open the package " + path.string());

    std::vector<unsigned char> front(std::min<uint64_t>(kTableOffset, packageSize));
    file.read(reinterpret_cast<char*>(front.data()), std::streamsize(front.size()));
    const Result<std::size_t> size = layoutSize(front, packageSize);
    if (!size)
        return Reader::failure(size.error());
    front.resize(*size);
    file.read(reinterpret_cast<char*>(front.data() + kTableOffset), std::streamsize(*size - kTableOffset));
    if (!file)
        return Reader::failure("cannot read the package " + path.string());
    Result<PackageLayout> layout = parseLayout(front, packageSize);
    if (!layout)
        return Reader::failure(layout.error());
    return std::unique_ptr<PackageReader>(new PackageReader(std::move(file), std::move(*layout)));
}

Status PackageReader::checkEntry(std::size_t index, const std::function<bool()>& cancelled)
{
    const PackageEntry& entry = m_layout.entries.at(index);
    m_file.clear();
    m_file.seekg(std::streamoff(entry.offset));
    std::vector<unsigned char> buffer(std::min<uint64_t>(kChunk, entry.size));
    Crc32 crc;
    for (uint64_t left = entry.size; left > 0;) {
        if (cancelled())
            return Status::failure("cancelled");
        const std::size_t piece = std::size_t(std::min<uint64_t>(left, buffer.size()));
        if (!m_file.read(reinterpret_cast<char*>(buffer.data()), std::streamsize(piece)))
            return Status::failure("package is truncated (" + entry.name + ")");
        crc.update(std::span(buffer).first(piece));
        left -= piece;
    }
    if (crc.value() != entry.crc)
        return Status::failure("checksum mismatch in " + entry.name);
    return succeeded();
}

} // namespace marlow
