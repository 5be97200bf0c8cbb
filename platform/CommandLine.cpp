#include "platform/CommandLine.h"

namespace Platform {

QString windowsCommandLine(const QStringList& arguments)
{
    QStringList quoted;
    quoted.reserve(arguments.size());
    for (const QString& argument : arguments)
        quoted.append(u'"' + argument + u'"');
    return quoted.join(u' ');
}

QString windowsCommandLine(int argc, const char* const* argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return windowsCommandLine(arguments);
}

} // namespace Platform
