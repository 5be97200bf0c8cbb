#include "records/FileNamePart.h"

namespace {

bool isForbiddenInFileName(QChar ch)
{
    static const QString forbidden = QStringLiteral("\\/:*?\"<>|");
    return ch.category() == QChar::Other_Control || forbidden.contains(ch);
}

} // namespace

QString SafeFileNamePart(const QString& part)
{
    if (part == u"." || part == u"..")
        return QString(part.size(), u'-');
    QString safe = part;
    for (QChar& ch : safe) {
        if (isForbiddenInFileName(ch))
            ch = u'-';
    }
    return safe;
}
