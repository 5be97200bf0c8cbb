#include "engine-sim/PackageReader.h"
#include "engine-sim/tool/ToolArguments.h"
#include "engine-sim/tool/ToolCommands.h"

#include <cinttypes>
#include <cstdio>

namespace marlow {

void infoCommand(const std::vector<std::string>& words)
{
    const ToolArguments arguments(words, {});
    const std::string path = arguments.positional(1, 1, "marlow info PACKAGE").front();
    const Result<std::unique_ptr<PackageReader>> reader = PackageReader::open(path);
    if (!reader)
        throw ToolFailure(reader.error());
    const PackageLayout& layout = (*reader)->layout();
    std::printf("header   %s (version %d)\n", format::headerFormName(layout.form).c_str(),
                format::headerVersion(layout.form));
    std::printf("model    %s\n", layout.model.c_str());
    std::printf("version  %s\n", layout.version.c_str());
    std::printf("size     %" PRIu64 " bytes\n", layout.packageSize);
    std::printf("files    %zu\n", layout.entries.size());
    std::printf("  %-24s %-10s %12s %12s %10s\n", "name", "partition", "size", "offset", "crc32");
    for (const PackageEntry& entry : layout.entries)
        std::printf("  %-24s %-10s %12" PRIu64 " %12" PRIu64 "   %08" PRIx32 "\n", entry.name.c_str(),
                    format::partitionName(entry.partition).c_str(), entry.size, entry.offset, entry.crc);
}

} // namespace marlow
