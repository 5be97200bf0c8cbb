#include "engine-sim/DemoStation.h"
#include "engine-sim/tool/ToolArguments.h"
#include "engine-sim/tool/ToolCommands.h"

#include <cstdio>

namespace marlow {

void demoCommand(const std::vector<std::string>& words)
{
    const ToolArguments arguments(words, {});
    const std::filesystem::path folder = arguments.positional(1, 1, "marlow demo FOLDER").front();
    const Result<DemoStation::Paths> paths = DemoStation::make(std::filesystem::absolute(folder));
    if (!paths)
        throw ToolFailure(paths.error());
    std::printf("package   %s (model %s)\n", paths->package.c_str(), DemoStation::kModel);
    std::printf("GPS image %s\n", paths->gpsImage.c_str());
    std::printf("bay       %s (set MARLOW_BAY to it)\n", paths->bay.c_str());
    std::printf("cell %d fails its checks, cell %d fails at %d%% of writing, the others pass\n",
                DemoStation::kCheckFailingCell, DemoStation::kWriteFailingCell, DemoStation::kWriteFailurePercent);
}

} // namespace marlow
