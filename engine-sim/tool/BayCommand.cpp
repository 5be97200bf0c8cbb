#include "engine-sim/BayFolder.h"
#include "engine-sim/DemoStation.h"
#include "engine-sim/tool/ToolArguments.h"
#include "engine-sim/tool/ToolCommands.h"

#include <cstdio>
#include <ctime>

namespace marlow {

namespace {

BayFolder chosenBay(const ToolArguments& arguments)
{
    if (const auto bay = arguments.option("--bay"))
        return BayFolder(*bay);
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return BayFolder::located(error ? std::filesystem::current_path() : program.parent_path());
}

void setSingleLine(IniFile& ini, const std::string& key, const std::string& value)
{
    if (value.find_first_of("\r\n") != std::string::npos)
        throw ToolFailure(key + " must be a single line", 2);
    ini.set(key, value);
}

// The options are phone.ini's keys, so the phone is checked as the engine will read it.
PhoneProfile phoneFrom(const ToolArguments& arguments)
{
    IniFile ini;
    const std::string serial = arguments.option("--serial").value_or("SN" + std::to_string(std::time(nullptr)));
    setSingleLine(ini, "model", arguments.requiredOption("--model"));
    setSingleLine(ini, "serial", serial);
    setSingleLine(ini, "emmc_cid", arguments.option("--cid").value_or(PhoneProfile::cidFor(serial)));
    const std::pair<const char*, const char*> optional[] = {
        {"--fuse", "fuse"}, {"--instrument", "instrument"}, {"--usb", "usb"}, {"--speed", "speed"},
        {"--fail-at", "fail_at"}};
    for (const auto& [option, key] : optional)
        if (const auto value = arguments.option(option))
            setSingleLine(ini, key, *value);
    const Result<PhoneProfile> phone = PhoneProfile::fromIni(ini);
    if (!phone)
        throw ToolFailure(phone.error(), 2);
    return *phone;
}

void attach(const std::vector<std::string>& words)
{
    const ToolArguments arguments(words, {"--bay", "--model", "--serial", "--cid", "--fuse", "--instrument", "--usb",
                                          "--speed", "--fail-at"});
    const int cell = cellNumber(arguments.positional(1, 1, "marlow bay attach N --model MODEL ...").front());
    const PhoneProfile phone = phoneFrom(arguments);
    const BayFolder bay = chosenBay(arguments);
    if (Status attached = bay.attach(cell, phone); !attached)
        throw ToolFailure(attached.error());
    std::printf("attached %s (serial %s) on cell %d in %s\n", phone.model.c_str(), phone.serial.c_str(), cell,
                bay.root().c_str());
}

void detach(const std::vector<std::string>& words)
{
    const ToolArguments arguments(words, {"--bay"});
    const int cell = cellNumber(arguments.positional(1, 1, "marlow bay detach N [--bay DIR]").front());
    const BayFolder bay = chosenBay(arguments);
    if (Status detached = bay.detach(cell); !detached)
        throw ToolFailure(detached.error());
    std::printf("detached the phone on cell %d in %s\n", cell, bay.root().c_str());
}

void demo(const std::vector<std::string>& words)
{
    const ToolArguments arguments(words, {"--bay", "--model"});
    arguments.positional(0, 0, "marlow bay demo [--model MODEL] [--bay DIR]");
    const BayFolder bay = chosenBay(arguments);
    if (Status filled = DemoStation::fillBay(bay, arguments.option("--model").value_or(DemoStation::kModel)); !filled)
        throw ToolFailure(filled.error());
    std::printf("eight phones in %s: cell %d fails its checks, cell %d fails at %d%% of writing\n", bay.root().c_str(),
                DemoStation::kCheckFailingCell, DemoStation::kWriteFailingCell, DemoStation::kWriteFailurePercent);
}

} // namespace

void bayCommand(const std::vector<std::string>& words)
{
    const std::string action = words.empty() ? "" : words.front();
    const std::vector<std::string> rest(words.begin() + (words.empty() ? 0 : 1), words.end());
    if (action == "attach")
        attach(rest);
    else if (action == "detach")
        detach(rest);
    else if (action == "demo")
        demo(rest);
    else
        throw ToolFailure("usage: marlow bay attach|detach|demo ...", 2);
}

} // namespace marlow
