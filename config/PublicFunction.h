#pragma once
#include <QString>
#include <QStringList>

// The file and path helpers the windows and the download controller share. It holds
// no data; users embed one as a base or a member. The regular-expression helpers
// compile a pattern of their own on each call, so any thread may use them.
class CPublicFunction {
public:
    // The program's folder, ending with '/'. Every data path starts here. Always true.
    bool GetModuleDirectory(QString& directory) const;

    // The filter text of a file dialog: "name|*.ext|" for each name, then one more '|'.
    // A name without an extension beside it gets an empty one.
    QString BuildFilter(const QStringList& names, const QStringList& extensions) const;

    // Deletes the directory with everything under it, permanently and without asking.
    // False when it does not exist or something in it could not be deleted. A symbolic
    // link is removed itself, never what it points to; a plain file, the empty path and
    // the file-system root are refused.
    bool DeleteDirectory(const QString& directory) const;

    // Replaces the file with the text in the ANSI code page, whole or not at all. When
    // that fails the operator is told "Couldn't create the file: <path>" and the result
    // is false.
    bool WriteTextFile(const QString& path, const QString& text) const;

    // True when the text is not empty and holds only spaces, tabs, CRs and LFs.
    bool IsBlankText(const QString& text) const;
};
