#pragma once
#include "engine-sim/BayFolder.h"
#include "engine-sim/PhoneProfile.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A temporary station: a package of five partitions, a GPS image and a bay
// that MARLOW_BAY points at, with sound phones made to order.
class StationFixture {
public:
    static constexpr const char* kModel = "TP100";
    static constexpr const char* kVersion = "V2.0_TEST";

    explicit StationFixture(qint64 packageBytes = 320 * 1024);
    ~StationFixture();

    QString packagePath() const { return m_dir.filePath(QStringLiteral("test.vkb")); }
    QString gpsPath() const { return m_dir.filePath(QStringLiteral("gps.img")); }
    QString bayPath() const { return m_dir.filePath(QStringLiteral("bay")); }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }
    const marlow::BayFolder& bay() const { return m_bay; }

    // What each partition file of a phone's storage must hold, by its name there.
    const QMap<QString, QByteArray>& images() const { return m_images; }
    qint64 packageContentBytes() const;

    marlow::PhoneProfile phone(int cell, quint64 bytesPerSecond = 0) const;
    void attach(int cell, const marlow::PhoneProfile& phone);
    void attachSoundPhones(const QList<int>& cells, quint64 bytesPerSecond = 0);
    void detach(int cell);
    QStringList storedImages(int cell) const;
    QByteArray storedImage(int cell, const QString& name) const;

private:
    void writePackage(qint64 packageBytes);
    void writeGpsImage();

    QTemporaryDir m_dir;
    marlow::BayFolder m_bay;
    QMap<QString, QByteArray> m_images;
    QByteArray m_previousBay;
};

QByteArray randomBytes(qint64 size, quint32 seed);
