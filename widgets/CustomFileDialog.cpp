#include "widgets/CustomFileDialog.h"

#include <algorithm>

namespace {

// A pattern made of nothing but stars and dots ("*.*", "*.*.*") matches every
// name, as the stations' users expect from such patterns.
QString NormalisedPattern(const QString& pattern)
{
    const QString trimmed = pattern.trimmed();
    const bool matchesAll = trimmed.contains(u'*')
        && std::all_of(trimmed.begin(), trimmed.end(), [](QChar c) { return c == u'*' || c == u'.'; });
    return matchesAll ? QStringLiteral("*") : trimmed;
}

} // namespace

CCustomFileDialog::CCustomFileDialog(Kind kind, const QString& filter, QWidget* parent)
    : QFileDialog(parent)
    , m_nameFilters(NameFilters(filter))
{
    setAcceptMode(kind == SaveFile ? AcceptSave : AcceptOpen);
    setFileMode(kind == SaveFile ? AnyFile : ExistingFile);
    setOption(DontConfirmOverwrite, false);
    setSizeGripEnabled(true);
    if (!m_nameFilters.isEmpty())
        setNameFilters(m_nameFilters);
}

QStringList CCustomFileDialog::NameFilters(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(u';', Qt::SkipEmptyParts))
            patterns << NormalisedPattern(pattern);
        filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns.join(u' '));
    }
    return filters;
}

void CCustomFileDialog::done(int result)
{
    if (result == Accepted && !selectedFiles().isEmpty()) {
        m_chosen = true;
        m_chosenPath = selectedFiles().constFirst();
        m_filterIndex = int(m_nameFilters.indexOf(selectedNameFilter())) + 1;
    }
    QFileDialog::done(result);
}
