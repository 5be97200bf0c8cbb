#pragma once
#include <QString>
#include <QStringList>

namespace Platform {

// The whole command line in the form Windows hands it to a program: every
// argument, the program's own path first, in double quotes, separated by one space.
QString windowsCommandLine(const QStringList& arguments);
QString windowsCommandLine(int argc, const char* const* argv);

} // namespace Platform
