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

    // The file the operator confirms in an open-file dialog with the filter built from
    // the lists; false and an empty path when cancelled.
    bool BrowseOpenFile(const QStringList& names, const QStringList& extensions, QString& path) const;
    // As BrowseOpenFile with a save-file dialog. When the chosen name's extension is
    // not exactly the one of the filter the dialog ended on, "." and that extension
    // are appended: report and report.TXT become report.txt and report.TXT.txt.
    bool BrowseSaveFile(const QStringList& names, const QStringList& extensions, QString& path) const;

    // Brings forward the open window with exactly that title, or else opens the file
    // with its application. False when neither happened.
    bool OpenOrActivate(const QString& path, const QString& title) const;

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
