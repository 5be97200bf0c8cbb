#pragma once
#include <QString>
#include <QStringList>

// Whether the documents of the resource library hold together: their encodings,
// their parts in order, attribute values in range, every model resolvable, ISSUE.XML
// ids well formed and unique. Each returns one line per problem, none when sound.
QStringList CheckProductCatalogue(const QString& path);
QStringList CheckDeviceCatalogue(const QString& path);
QStringList CheckIssueList(const QString& path);
QStringList CheckCommonSettings(const QString& path);
