#include "engine-sim/PackageWriter.h"
#include "engine-sim/tool/ToolArguments.h"
#include "engine-sim/tool/ToolCommands.h"

#include <cstdio>

namespace marlow {

namespace {

constexpr const char* kPackUsage =
    "marlow pack --output PACKAGE --model MODEL [--version TEXT] [--header FORM] FILE[=PARTITION]...";

// "path/system.img" goes to the system partition; "path/a.bin=boot" to boot.
void addSource(PackageWriter& writer, const std::string& word)
{
    const auto equals = word.rfind('=');
    const std::filesystem::path path = word.substr(0, equals);
    const std::string partitionName = equals == std::string::npos ? path.stem().string() : word.substr(equals + 1);
    const std::optional<format::Partition> partition = format::partitionNamed(partitionName);
    if (!partition)
        throw ToolFailure(equals == std::string::npos
                              ? "cannot tell the partition of " + path.string() + ": write " + path.string() + "=PARTITION"
                              : "unknown partition " + partitionName,
                          2);
    writer.addFile(path.filename().string(), *partition, path);
}

} // namespace

void packCommand(const std::vector<std::string>& words)
{
    const ToolArguments arguments(words, {"--output", "--model", "--version", "--header"});
    const std::vector<std::string>& files = arguments.positional(1, format::kMaxFiles, kPackUsage);
    const std::string headerName = arguments.option("--header").value_or("18");
    const std::optional<format::HeaderForm> form = format::headerFormNamed(headerName);
    if (!form)
        throw ToolFailure("unknown header form " + headerName + " (13, WTVK, 14, 15, 16, 17 or 18)", 2);
    PackageWriter writer(arguments.requiredOption("--model"), arguments.option("--version").value_or("V1.0"), *form);
    for (const std::string& word : files)
        addSource(writer, word);
    const std::string output = arguments.requiredOption("--output");
    if (Status written = writer.write(output); !written)
        throw ToolFailure(written.error());
    std::printf("wrote %s\n", output.c_str());
}

} // namespace marlow
