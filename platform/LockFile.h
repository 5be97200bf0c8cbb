#pragma once
#include <QString>

namespace Platform {

// Lock files stand in for Windows named kernel objects: one file per name in
// $XDG_RUNTIME_DIR (else /tmp), locked with flock. Returns an open descriptor,
// or -1 when the file cannot be opened.
int openLockFile(const QString& name);

} // namespace Platform
