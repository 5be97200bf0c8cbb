#pragma once
#include <QString>

// A piece of a file or folder name that comes from outside the program (a model
// name from a package, a station or serial number from the engine). Every
// character a Windows file name forbids becomes '-', and so does a part that is
// "." or "..", so the result can never leave the folder it is joined to.
QString SafeFileNamePart(const QString& part);
