#pragma once
#include "config/Outcome.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

// A parsed res: URL, "res://<library>[/<type>]/<resource>". "Sorrel.dll" names the
// resource library of the program directory, libSorrel.so; an empty or missing type
// is the HTML type 23, as in "res://Sorrel.dll//ZARV_CONFIG.xml".
struct ResUrl {
    QString library;
    quint32 type = 0;
    QString resource;

    // The file that stands for library in the program directory: "Sorrel.dll" -> "libSorrel.so".
    QString libraryFileName() const;
};

// Serves res: URLs out of resource libraries in the program directory, which are
// read as data files and never loaded.
class CResProtocol {
public:
    static bool isResUrl(QStringView source);

    // Nothing when the text is not a res: URL or names a library outside the program directory.
    static std::optional<ResUrl> parse(QStringView url);

    // The bytes of the resource the URL names, or why they cannot be had.
    static Outcome<QByteArray> read(QStringView url);
};
