#pragma once
#include <QString>

#include <cstdint>

// Values the whole process shares. The login writes the role and the language;
// start-up sets command-line mode; the file selection and the common settings page
// set the software version text (the last writer wins).

// 1 "SMT", 2 "Assembly", 3 "Developer", 4 "Customer"; 4 before any login.
extern int32_t g_nUserRole;
// 0 Chinese, 1 English; 1 before any login.
extern int32_t g_nLanguage;

// Printed first on a cell's page when a device attaches; empty until set.
QString SoftwareVersionText();
void SetSoftwareVersionText(const QString& text);

// Set once at start-up when the command line names a package. Read by the
// download worker as well, so it is safe from any thread.
bool IsCommandLineMode();
void SetCommandLineMode(bool on);
