#include "StationFixture.h"

#include "engine-sim/PackageWriter.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

using marlow::format::Partition;

QByteArray randomBytes(qint64 size, quint32 seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(seed);
    for (char& byte : bytes)
        byte = char(generator.generate());
    return bytes;
}

StationFixture::StationFixture(qint64 packageBytes) : m_bay(QDir(m_dir.path()).filePath(QStringLiteral("bay")).toStdString())
{
    if (!m_dir.isValid())
        qFatal("cannot make a temporary folder");
    m_previousBay = qgetenv("MARLOW_BAY");
    qputenv("MARLOW_BAY", bayPath().toLocal8Bit());
    QDir().mkpath(bayPath());
    writePackage(packageBytes);
    writeGpsImage();
}

StationFixture::~StationFixture()
{
    if (m_previousBay.isEmpty())
        qunsetenv("MARLOW_BAY");
    else
        qputenv("MARLOW_BAY", m_previousBay);
}

void StationFixture::writePackage(qint64 packageBytes)
{
    // Shares of the whole, so every partition is there however small the package.
    const struct {
        const char* file;
        Partition partition;
        int share;
    } parts[] = {
        {"preloader.bin", Partition::Preloader, 1}, {"lk.bin", Partition::Lk, 1}, {"boot.img", Partition::Boot, 2},
        {"system.img", Partition::System, 8},       {"userdata.img", Partition::Userdata, 4},
    };
    marlow::PackageWriter writer(kModel, kVersion);
    quint32 seed = 1;
    for (const auto& part : parts) {
        const QByteArray bytes = randomBytes(packageBytes * part.share / 16 + seed, seed);
        ++seed;
        m_images.insert(QString::fromStdString(marlow::format::partitionName(part.partition)) + ".img", bytes);
        writer.addBytes(part.file, part.partition, std::vector<unsigned char>(bytes.begin(), bytes.end()));
    }
    if (const marlow::Status written = writer.write(packagePath().toStdString()); !written)
        qFatal("cannot write the test package: %s", written.error().c_str());
}

void StationFixture::writeGpsImage()
{
    const QByteArray bytes = randomBytes(48 * 1024, 99);
    m_images.insert(QStringLiteral("gps.img"), bytes);
    QFile file(gpsPath());
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the test GPS image");
}

qint64 StationFixture::packageContentBytes() const
{
    qint64 total = 0;
    for (auto it = m_images.begin(); it != m_images.end(); ++it)
        if (it.key() != QLatin1String("gps.img"))
            total += it.value().size();
    return total;
}

marlow::PhoneProfile StationFixture::phone(int cell, quint64 bytesPerSecond) const
{
    marlow::PhoneProfile phone;
    phone.model = kModel;
    phone.serial = "sn" + std::to_string(1000 + cell);
    phone.emmcCid = marlow::PhoneProfile::cidFor(phone.serial);
    phone.usbAddress = "2-1." + std::to_string(cell);
    phone.bytesPerSecond = bytesPerSecond;
    return phone;
}

void StationFixture::attach(int cell, const marlow::PhoneProfile& phone)
{
    if (const marlow::Status attached = m_bay.attach(cell, phone); !attached)
        qFatal("cannot attach a test phone: %s", attached.error().c_str());
}

void StationFixture::attachSoundPhones(const QList<int>& cells, quint64 bytesPerSecond)
{
    for (int cell : cells)
        attach(cell, phone(cell, bytesPerSecond));
}

void StationFixture::detach(int cell)
{
    if (const marlow::Status detached = m_bay.detach(cell); !detached)
        qFatal("cannot detach a test phone: %s", detached.error().c_str());
}

QStringList StationFixture::storedImages(int cell) const
{
    QDir storage(QString::fromStdString(m_bay.storage(cell).string()));
    QStringList names = storage.entryList(QDir::Files);
    names.sort();
    return names;
}

QByteArray StationFixture::storedImage(int cell, const QString& name) const
{
    QFile file(QString::fromStdString((m_bay.storage(cell) / name.toStdString()).string()));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
