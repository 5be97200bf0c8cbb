#include "config/PublicFunction.h"

#include "config/DesktopService.h"
#include "platform/CodePage.h"
#include "platform/MessageBox.h"
#include "platform/ProgramDirectory.h"
#include "regex/RegexSplit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

bool CPublicFunction::GetModuleDirectory(QString& directory) const
{
    directory = Platform::programDirectory();
    return true;
}

QString CPublicFunction::BuildFilter(const QStringList& names, const QStringList& extensions) const
{
    QString filter;
    for (qsizetype i = 0; i < names.size(); ++i)
        filter += names[i] + QStringLiteral("|*.") + extensions.value(i) + u'|';
    return filter + u'|';
}

bool CPublicFunction::BrowseOpenFile(const QStringList& names, const QStringList& extensions, QString& path) const
{
    path.clear();
    DesktopService* desktop = DesktopService::installed();
    if (!desktop)
        return false;
    const auto choice = desktop->chooseFile(DesktopService::FileDialogKind::Open, BuildFilter(names, extensions));
    if (!choice)
        return false;
    path = choice->path;
    return true;
}

bool CPublicFunction::BrowseSaveFile(const QStringList& names, const QStringList& extensions, QString& path) const
{
    path.clear();
    DesktopService* desktop = DesktopService::installed();
    if (!desktop)
        return false;
    const auto choice = desktop->chooseFile(DesktopService::FileDialogKind::Save, BuildFilter(names, extensions));
    if (!choice)
        return false;
    path = choice->path;
    // A filter without a plain extension ("*.*", or none) has nothing to append.
    const QString extension = extensions.value(choice->filterIndex - 1);
    if (!extension.isEmpty() && !extension.contains(u'*') && QFileInfo(path).suffix() != extension)
        path += u'.' + extension;
    return true;
}

bool CPublicFunction::OpenOrActivate(const QString& path, const QString& title) const
{
    DesktopService* desktop = DesktopService::installed();
    return desktop && (desktop->bringWindowForward(title) || desktop->openDocument(path));
}

bool CPublicFunction::DeleteDirectory(const QString& directory) const
{
    if (directory.isEmpty())
        return false;
    const QFileInfo info(directory);
    if (info.isSymLink())
        return QFile::remove(directory);
    if (!info.isDir() || info.canonicalFilePath() == QDir::rootPath())
        return false;
    return QDir(directory).removeRecursively();
}

bool CPublicFunction::WriteTextFile(const QString& path, const QString& text) const
{
    QSaveFile file(path);
    const QByteArray bytes = Platform::toAnsiCodePage(text);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    Platform::messageBox(QStringLiteral("Couldn't create the file: ") + path);
    return false;
}

bool CPublicFunction::IsBlankText(const QString& text) const
{
    QString before, match, after;
    return RegexSplit(text, u"^\\s*$", before, match, after) && !match.isEmpty();
}
