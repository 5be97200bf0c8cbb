#pragma once
#include <QString>
#include <QTemporaryDir>

// A program directory of a test's own: the test engine installed as libMarlow.so,
// a UserConfig/UserConfig.xml and packages to point it at. The program is
// pointed at the folder for the life of the object.
class SessionFolder {
public:
    explicit SessionFolder(const QString& engineLibrary = QStringLiteral(TEST_ENGINE_LIBRARY));
    ~SessionFolder();

    QString path() const { return m_dir.path() + u'/'; }
    // Where the program loads the engine from.
    QString enginePath() const { return path() + QStringLiteral("libMarlow.so"); }

    // A package whose header names the model.
    QString writePackage(const QString& fileName, const QByteArray& model);
    void writeUserConfig(const QString& packagePath, const QString& imagePath);
    void removeUserConfig();

private:
    QTemporaryDir m_dir;
};
