#include "engine-sim/PackageWriter.h"

#include "engine-sim/ByteOrder.h"
#include "engine-sim/Crc32.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <set>

namespace marlow {

using namespace format;

namespace {

constexpr std::size_t kChunk = 1 << 20;

bool isPrintableAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

void putText(std::vector<unsigned char>& bytes, std::size_t at, std::string_view text)
{
    std::memcpy(&bytes[at], text.data(), text.size());
}

Status writeChunkWithCrc(std::ofstream& out, Crc32& crc, const unsigned char* data, std::size_t size)
{
    crc.update(std::span(data, size));
    out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    return out ? succeeded() : Status::failure("cannot write the package");
}

} // namespace

PackageWriter::PackageWriter(std::string model, std::string version, HeaderForm form)
    : m_model(std::move(model)), m_version(std::move(version)), m_form(form)
{
}

void PackageWriter::addFile(std::string name, Partition partition, std::filesystem::path source)
{
    m_sources.push_back({std::move(name), partition, std::move(source)});
}

void PackageWriter::addBytes(std::string name, Partition partition, std::vector<unsigned char> bytes)
{
    m_sources.push_back({std::move(name), partition, std::move(bytes)});
}

Status PackageWriter::checkInputs() const
{
    if (m_model.empty() || !isPrintableAscii(m_model))
        return Status::failure("the model name must be printable ASCII and not empty");
    if (m_model.size() > modelCapacity(m_form))
        return Status::failure("the model name \"" + m_model + "\" is longer than header " + headerFormName(m_form)
                               + " holds (" + std::to_string(modelCapacity(m_form)) + " characters)");
    if (m_version.size() >= kVersionSize || !isPrintableAscii(m_version))
        return Status::failure("the package version must be printable ASCII of at most "
                               + std::to_string(kVersionSize - 1) + " characters");
    if (m_sources.empty() || m_sources.size() > kMaxFiles)
        return Status::failure("a package holds 1 to " + std::to_string(kMaxFiles) + " files");
    std::set<std::string> names;
    std::set<Partition> partitions;
    for (const Source& source : m_sources) {
        if (!isSafeFileName(source.name))
            return Status::failure("\"" + source.name + "\" cannot be a file name in a package"
                                   " (letters, digits, '.', '_' and '-', at most 47)");
        if (!names.insert(source.name).second)
            return Status::failure(source.name + " is in the package twice");
        if (!partitions.insert(source.partition).second)
            return Status::failure("two files for partition " + partitionName(source.partition));
    }
    return succeeded();
}

Result<std::vector<uint64_t>> PackageWriter::sourceSizes() const
{
    std::vector<uint64_t> sizes;
    for (const Source& source : m_sources) {
        if (const auto* bytes = std::get_if<std::vector<unsigned char>>(&source.contents)) {
            sizes.push_back(bytes->size());
            continue;
        }
        const auto& path = std::get<std::filesystem::path>(source.contents);
        std::error_code error;
        if (!std::filesystem::is_regular_file(path, error))
            return Result<std::vector<uint64_t>>::failure("cannot read " + path.string());
        sizes.push_back(std::filesystem::file_size(path, error));
        if (error)
            return Result<std::vector<uint64_t>>::failure("cannot read " + path.string() + ": " + error.message());
    }
    return sizes;
}

std::vector<unsigned char> PackageWriter::front(const std::vector<uint64_t>& sizes,
                                                const std::vector<uint32_t>& crcs) const
{
    std::vector<unsigned char> bytes(kTableOffset + m_sources.size() * kEntrySize, 0);
    writeMagic(m_form, bytes.data());
    putText(bytes, modelOffset(m_form), m_model);
    putText(bytes, kTagAt, kBlockTag);
    storeLittleEndian<uint32_t>(&bytes[kRevisionAt], kRevision);
    storeLittleEndian<uint32_t>(&bytes[kFileCountAt], uint32_t(m_sources.size()));
    putText(bytes, kVersionAt, m_version);

    uint64_t offset = bytes.size();
    for (std::size_t i = 0; i < m_sources.size(); ++i) {
        unsigned char* entry = &bytes[kTableOffset + i * kEntrySize];
        std::memcpy(entry + kNameAt, m_sources[i].name.data(), m_sources[i].name.size());
        storeLittleEndian<uint32_t>(entry + kPartitionAt, static_cast<uint32_t>(m_sources[i].partition));
        storeLittleEndian<uint64_t>(entry + kSizeAt, sizes[i]);
        storeLittleEndian<uint64_t>(entry + kOffsetAt, offset);
        storeLittleEndian<uint32_t>(entry + kCrcAt, crcs[i]);
        offset += sizes[i];
    }
    const std::span<const unsigned char> table(&bytes[kTableOffset], bytes.size() - kTableOffset);
    storeLittleEndian<uint32_t>(&bytes[kTableCrcAt], Crc32::of(table));
    storeLittleEndian<uint32_t>(&bytes[kHeaderCrcAt], Crc32::of(std::span(bytes).first(kHeaderCrcAt)));
    return bytes;
}

Status PackageWriter::writeContents(std::ofstream& out, const std::vector<uint64_t>& sizes,
                                    std::vector<uint32_t>& crcs) const
{
    std::vector<unsigned char> buffer;
    for (std::size_t i = 0; i < m_sources.size(); ++i) {
        const Source& source = m_sources[i];
        const std::streamoff start = out.tellp();
        Crc32 crc;
        if (const auto* bytes = std::get_if<std::vector<unsigned char>>(&source.contents)) {
            if (Status written = writeChunkWithCrc(out, crc, bytes->data(), bytes->size()); !written)
                return written;
        } else {
            const auto& path = std::get<std::filesystem::path>(source.contents);
            std::ifstream in(path, std::ios::binary);
            buffer.resize(kChunk);
            while (in) {
                in.read(reinterpret_cast<char*>(buffer.data()), std::streamsize(buffer.size()));
                if (Status written = writeChunkWithCrc(out, crc, buffer.data(), std::size_t(in.gcount())); !written)
                    return written;
            }
            if (!in.eof())
                return Status::failure("cannot read " + path.string());
            if (uint64_t(out.tellp() - start) != sizes[i])
                return Status::failure(path.string() + " changed while it was being packed");
        }
        crcs.push_back(crc.value());
    }
    return succeeded();
}

Status PackageWriter::write(const std::filesystem::path& target) const
{
    if (Status inputs = checkInputs(); !inputs)
        return inputs;
    const Result<std::vector<uint64_t>> sizes = sourceSizes();
    if (!sizes)
        return Status::failure(sizes.error());

    std::filesystem::path partial = target;
    partial += ".partial";
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    if (!out)
        return Status::failure("cannot create " + partial.string());
    // The table's checksums are known only after the contents: write a blank
    // front, the contents, then the real front over the blank one.
    std::vector<uint32_t> crcs(m_sources.size(), 0);
    const std::vector<unsigned char> blank = front(*sizes, crcs);
    out.write(reinterpret_cast<const char*>(blank.data()), std::streamsize(blank.size()));
    crcs.clear();
    Status contents = writeContents(out, *sizes, crcs);
    if (contents) {
        const std::vector<unsigned char> real = front(*sizes, crcs);
        out.seekp(0);
        out.write(reinterpret_cast<const char*>(real.data()), std::streamsize(real.size()));
        out.close();
        if (!out)
            contents = Status::failure("cannot write " + partial.string());
    }
    std::error_code error;
    if (contents) {
        std::filesystem::rename(partial, target, error);
        if (error)
            contents = Status::failure("cannot write " + target.string() + ": " + error.message());
    }
    if (!contents)
        std::filesystem::remove(partial, error);
    return contents;
}

} // namespace marlow
