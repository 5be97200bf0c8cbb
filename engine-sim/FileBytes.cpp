#include "engine-sim/FileBytes.h"

#include <fstream>
#include <new>

namespace marlow {

Result<std::vector<unsigned char>> readWholeFile(const std::filesystem::path& path,
                                                 const std::function<bool()>& cancelled)
{
    using Bytes = Result<std::vector<unsigned char>>;
    constexpr std::size_t kChunk = 4 << 20;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return Bytes::failure("cannot open " + path.string());
    const uint64_t size = std::filesystem::file_size(path, error);
    std::ifstream file(path, std::ios::binary);
    if (error || !file)
        return Bytes::failure("cannot open " + path.string());
    std::vector<unsigned char> bytes;
    try {
        bytes.resize(size);
    } catch (const std::bad_alloc&) {
        return Bytes::failure(path.string() + " is too large to hold in memory");
    }
    for (uint64_t done = 0; done < size;) {
        if (cancelled())
            return Bytes::failure("cancelled");
        const std::size_t piece = std::size_t(std::min<uint64_t>(kChunk, size - done));
        if (!file.read(reinterpret_cast<char*>(bytes.data() + done), std::streamsize(piece)))
            return Bytes::failure("cannot read " + path.string() + ": it ended early");
        done += piece;
    }
    return bytes;
}

} // namespace marlow

namespace marlow {

Result<std::vector<unsigned char>> readGpsImage(const std::filesystem::path& path,
                                                const std::function<bool()>& cancelled)
{
    Result<std::vector<unsigned char>> bytes = readWholeFile(path, cancelled);
    if (!bytes && bytes.error() != "cancelled")
        return Result<std::vector<unsigned char>>::failure("GPS image unreadable: " + bytes.error());
    if (bytes && bytes->empty())
        return Result<std::vector<unsigned char>>::failure("GPS image " + path.string() + " is empty");
    return bytes;
}

} // namespace marlow
