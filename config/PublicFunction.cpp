#include "config/PublicFunction.h"

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
