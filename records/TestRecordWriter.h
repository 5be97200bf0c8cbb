#pragma once
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

// What a cell's test record is made from, as the message logger collected it.
struct TestRecordInput {
    int cell;
    QString modelName;
    QString station;
    QString serialNumber;
    QString packageVersion;
    QStringList recordLines;
};

// Writes a cell's test record: a folder under the first usable TestRecord root
// ("E:\TestRecord", else "D:\TestRecord") holding the record lines three times,
// as TestLogger (csv), Attributer and RuntimeLogger (txt), each with CR LF line
// ends and its own TYPE line.
class TestRecordWriter {
public:
    explicit TestRecordWriter(TestRecordInput input);

    // The folder the record went to, or nothing when no root was usable or a file
    // could not be written (which the operator is told in a message box).
    std::optional<QString> write() const;

private:
    QString folderName(const QDateTime& time) const;
    // The bytes of file 0, 1 or 2 of a record made at the given local time.
    QByteArray fileContent(int file, const QDateTime& time) const;
    static std::optional<QString> createFolder(const QString& name);
    bool writeFile(int file, const QString& folder, const QDateTime& time) const;
    QByteArray resultRows(const QDateTime& time) const;

    TestRecordInput m_input;
};
