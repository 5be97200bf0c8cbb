#pragma once
#include <QPixmap>
#include <QString>

// The program's pictures, found by their resource number as the windows name
// them. They are PNG files under "bitmap/" and "icon/" in the Qt resources of
// the program (":/zarvres/bitmap/326.png") or in a folder added with
// AddSearchFolder, which is searched first.
class ResourceImage {
public:
    static QPixmap Bitmap(int id);
    static QPixmap Icon(int id);

    // Path of a resource file such as "gif/354.gif", or empty when none exists.
    static QString Locate(const QString& relativePath);

    static void AddSearchFolder(const QString& folder);
};
