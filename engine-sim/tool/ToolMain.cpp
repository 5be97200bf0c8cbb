// marlow: builds and inspects packages and plugs virtual phones into a bay.
#include "engine-sim/tool/ToolArguments.h"
#include "engine-sim/tool/ToolCommands.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <map>

namespace {

constexpr const char* kUsage =
    "usage: marlow COMMAND ...\n"
    "  pack --output PACKAGE --model MODEL [--version TEXT] [--header 13|WTVK|14|15|16|17|18] FILE[=PARTITION]...\n"
    "  info PACKAGE\n"
    "  verify PACKAGE [--gps IMAGE]\n"
    "  bay attach N --model MODEL [--serial S] [--cid HEX] [--fuse blown|open] [--instrument pass|fail]\n"
    "               [--usb ADDRESS] [--speed BYTES_PER_SECOND] [--fail-at PERCENT] [--bay DIR]\n"
    "  bay detach N [--bay DIR]\n"
    "  bay demo [--model MODEL] [--bay DIR]\n"
    "  demo FOLDER\n"
    "Partitions: preloader lk boot recovery logo modem system cache userdata.\n"
    "The bay is --bay, else $MARLOW_BAY, else \"bay\" beside this program.\n";

} // namespace

int main(int argc, char** argv)
{
    using Command = void (*)(const std::vector<std::string>&);
    const std::map<std::string, Command> commands = {
        {"pack", marlow::packCommand},     {"info", marlow::infoCommand}, {"verify", marlow::verifyCommand},
        {"bay", marlow::bayCommand},       {"demo", marlow::demoCommand},
    };
    const std::vector<std::string> words(argv + std::min(argc, 2), argv + argc);
    const std::string name = argc > 1 ? argv[1] : "";
    if (name == "help" || name == "--help") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    try {
        const auto command = commands.find(name);
        if (command == commands.end())
            throw marlow::ToolFailure(name.empty() ? "no command given (marlow help lists them)"
                                                   : "unknown command " + name + " (marlow help lists them)",
                                      2);
        command->second(words);
        return 0;
    } catch (const marlow::ToolFailure& failure) {
        std::fprintf(stderr, "marlow: %s\n", failure.what());
        return failure.exitStatus();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "marlow: %s\n", error.what());
        return 1;
    }
}
