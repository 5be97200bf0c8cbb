#include "engine-sim/PackageVerifier.h"
#include "engine-sim/tool/ToolArguments.h"
#include "engine-sim/tool/ToolCommands.h"

#include <cstdio>

namespace marlow {

void verifyCommand(const std::vector<std::string>& words)
{
    const ToolArguments arguments(words, {"--gps"});
    const std::string package = arguments.positional(1, 1, "marlow verify PACKAGE [--gps IMAGE]").front();
    const PackageVerifier verifier([](int, const std::string& text) { std::printf("%s\n", text.c_str()); },
                                   [] { return false; });
    const Result<std::string> model = verifier.verify(package, arguments.option("--gps").value_or(""));
    if (!model)
        throw ToolFailure(model.error());
    std::printf("passed: a package for %s\n", model->c_str());
}

} // namespace marlow
