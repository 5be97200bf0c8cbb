#pragma once
#include <QString>

namespace Platform {

// The folder the running program lives in, ending in '/'. Every data path of the
// program (UserConfig/, Help/, the libraries) starts here.
QString programDirectory();

// Points the program at another folder; tests use it to run against a folder of their own.
void setProgramDirectory(const QString& directory);

} // namespace Platform
