#include "engine-sim/StorageWriter.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <fstream>
#include <mutex>
#include <vector>

namespace marlow {

namespace {

constexpr std::size_t kLargestChunk = 1 << 20;
constexpr std::size_t kSmallestChunk = 4096;

std::optional<uint64_t> failPoint(uint64_t total, std::optional<int> percent)
{
    if (!percent)
        return std::nullopt;
    return total / 100 * uint64_t(*percent) + total % 100 * uint64_t(*percent) / 100;
}

} // namespace

StorageWriter::StorageWriter(Setup setup, std::stop_token stop, std::function<bool()> phonePresent,
                             std::function<void(uint64_t)> onProgress)
    : m_setup(std::move(setup)), m_stop(std::move(stop)), m_phonePresent(std::move(phonePresent)),
      m_onProgress(std::move(onProgress)), m_failAt(failPoint(m_setup.totalBytes, m_setup.failAtPercent)),
      m_start(std::chrono::steady_clock::now())
{
}

Status StorageWriter::write(const FlashItem& item)
{
    const std::filesystem::path target = m_setup.storage / item.storageName;
    if (Status written = writeContents(item, target); !written)
        return written;
    return readBack(item, target);
}

Status StorageWriter::writeContents(const FlashItem& item, const std::filesystem::path& target)
{
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    if (!out)
        return interrupted(item, "cannot create " + target.string());
    for (std::size_t at = 0;;) {
        if (m_stop.stop_requested())
            return interrupted(item, {});
        if (m_failAt && m_done >= *m_failAt)
            return Status::failure("Write error in " + item.label + " at " + std::to_string(*m_setup.failAtPercent)
                                   + "%: the phone stopped answering");
        if (at == item.bytes.size())
            break;
        std::size_t piece = std::min(chunkSize(), item.bytes.size() - at);
        if (m_failAt)
            piece = std::size_t(std::min<uint64_t>(piece, *m_failAt - m_done));
        out.write(reinterpret_cast<const char*>(item.bytes.data() + at), std::streamsize(piece));
        if (!out)
            return interrupted(item, "cannot write " + target.string());
        at += piece;
        m_done += piece;
        m_onProgress(m_done);
        keepPace();
    }
    out.close();
    return out ? succeeded() : interrupted(item, "cannot write " + target.string());
}

Status StorageWriter::readBack(const FlashItem& item, const std::filesystem::path& target)
{
    std::ifstream in(target, std::ios::binary);
    if (!in)
        return interrupted(item, "cannot read back " + target.string());
    std::vector<char> buffer(std::min(kLargestChunk, std::max<std::size_t>(item.bytes.size(), 1)));
    for (std::size_t at = 0; at < item.bytes.size();) {
        if (m_stop.stop_requested())
            return interrupted(item, {});
        const std::size_t piece = std::min(buffer.size(), item.bytes.size() - at);
        if (!in.read(buffer.data(), std::streamsize(piece)) || std::memcmp(buffer.data(), &item.bytes[at], piece) != 0)
            return m_phonePresent() ? Status::failure("Read-back check failed for " + item.label)
                                    : interrupted(item, {});
        at += piece;
    }
    if (in.peek() != std::char_traits<char>::eof())
        return Status::failure("Read-back check failed for " + item.label + ": the partition holds more than was written");
    return succeeded();
}

Status StorageWriter::interrupted(const FlashItem& item, const std::string& ioError) const
{
    if (!m_phonePresent())
        return Status::failure("Device removed while writing " + item.label);
    if (m_stop.stop_requested())
        return Status::failure("Download stopped while writing " + item.label);
    return Status::failure("Cannot write " + item.label + ": " + ioError);
}

std::size_t StorageWriter::chunkSize() const
{
    if (m_setup.bytesPerSecond == 0)
        return kLargestChunk;
    // About twenty pieces a second, so progress moves smoothly and a stop is heard at once.
    return std::size_t(std::clamp<uint64_t>(m_setup.bytesPerSecond / 20, kSmallestChunk, kLargestChunk));
}

void StorageWriter::keepPace()
{
    if (m_setup.bytesPerSecond == 0)
        return;
    const auto due = m_start + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                   std::chrono::duration<double>(double(m_done) / double(m_setup.bytesPerSecond)));
    std::mutex mutex;
    std::condition_variable_any wake;
    std::unique_lock lock(mutex);
    wake.wait_until(lock, m_stop, due, [] { return false; });
}

} // namespace marlow
