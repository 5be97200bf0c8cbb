#include "config/DeviceCatalogue.h"

#include <limits>

namespace {

std::optional<qint64> parseNumber(QStringView text)
{
    constexpr qsizetype kMaximumDigits = 18; // stays inside qint64
    if (text.isEmpty() || text.size() > kMaximumDigits)
        return std::nullopt;
    qint64 value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

// Reads the parts and attributes of one block, keeping the first fault it meets.
class BlockReader {
public:
    explicit BlockReader(const QString& block) : m_block(block) {}

    pugi::xml_node child(pugi::xml_node parent, const char* tag)
    {
        const pugi::xml_node found = parent.child(tag);
        if (!found)
            fail(QStringLiteral("has no %1 in %2").arg(QLatin1String(tag), QString::fromUtf8(parent.name())));
        return found;
    }

    QString text(pugi::xml_node element, const char* attribute)
    {
        const pugi::xml_attribute found = element.attribute(attribute);
        if (element && !found)
            fail(QStringLiteral("has a %1 without %2").arg(QString::fromUtf8(element.name()), QLatin1String(attribute)));
        return QString::fromUtf8(found.value());
    }

    qint64 number(pugi::xml_node element, const char* attribute, qint64 minimum, qint64 maximum)
    {
        const pugi::xml_attribute found = element.attribute(attribute);
        const QString value = text(element, attribute);
        const std::optional<qint64> parsed = parseNumber(value);
        if (found && (!parsed || *parsed < minimum || *parsed > maximum))
            fail(QStringLiteral("has %1=\"%2\", not a number from %3 to %4")
                     .arg(QLatin1String(attribute), value)
                     .arg(minimum)
                     .arg(maximum));
        return parsed.value_or(0);
    }

    bool flag(pugi::xml_node element, const char* attribute) { return number(element, attribute, 0, 1) == 1; }

    const QString& fault() const { return m_fault; }

private:
    void fail(const QString& what)
    {
        if (m_fault.isEmpty())
            m_fault = QStringLiteral("Phone block %1 ").arg(m_block) + what;
    }

    QString m_block;
    QString m_fault;
};

} // namespace

bool CDeviceCatalogue::Load(const QString& source)
{
    return m_document.Load(source, 0) == XML_OK;
}

Outcome<DeviceLayout> CDeviceCatalogue::Resolve(const QString& model) const
{
    const QString tag = QStringLiteral("VK") + model;
    QList<pugi::xml_node> elements;
    if (m_document.GetElements(tag, elements) != XML_OK)
        return Outcome<DeviceLayout>::failure(QStringLiteral("no model element %1").arg(tag));
    const pugi::xml_attribute index = elements.first().attribute("Index");
    if (!index)
        return Outcome<DeviceLayout>::failure(QStringLiteral("%1 has no Index").arg(tag));
    return Block(QString::fromUtf8(index.value()));
}

Outcome<DeviceLayout> CDeviceCatalogue::Block(const QString& name) const
{
    QList<pugi::xml_node> phones;
    m_document.GetElements(QStringLiteral("Phone"), phones);
    const QByteArray wanted = name.toUtf8();
    const auto named = std::find_if(phones.cbegin(), phones.cend(),
                                    [&](pugi::xml_node phone) { return wanted == phone.attribute("name").value(); });
    if (named == phones.cend())
        return Outcome<DeviceLayout>::failure(QStringLiteral("no Phone block named %1").arg(name));

    const pugi::xml_node block = *named;
    BlockReader reader(name);
    DeviceLayout layout;
    layout.block = name;
    const pugi::xml_node project = reader.child(block, "ProjectInfo");
    layout.solutionType = int(reader.number(project, "SolutionType", 0, 7));
    layout.chipsetType = reader.text(project, "ChipsetType");
    const pugi::xml_node download = reader.child(block, "Download");
    layout.unzipVkb = reader.flag(download, "UnzipVKB");
    const pugi::xml_node type = reader.child(download, "DownloadType");
    layout.downAndroid = reader.flag(type, "DownAndroid");
    layout.downMod = reader.flag(type, "DownMod");
    if (const pugi::xml_node check = block.child("Chcek"))
        layout.check = DeviceCheck{reader.flag(check, "PhoneMatch"), reader.flag(check, "UseNewBootloader")};
    if (const pugi::xml_node disk = block.child("Disk"))
        layout.diskSize = reader.number(disk, "Size", 1, std::numeric_limits<qint64>::max());
    for (const pugi::xml_node file : reader.child(block, "FileInfo").children("File")) {
        layout.files.append({reader.text(file, "filename"), reader.text(file, "filecode"), reader.flag(file, "isDown"),
                             int(reader.number(file, "transfer", 0, std::numeric_limits<int>::max()))});
    }
    if (!reader.fault().isEmpty())
        return Outcome<DeviceLayout>::failure(reader.fault());
    return {std::move(layout), {}};
}
