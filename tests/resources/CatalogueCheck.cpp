#include "CatalogueCheck.h"

#include "config/DeviceCatalogue.h"
#include "config/ProductCatalogue.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <pugixml.hpp>

namespace {

const QByteArray kByteOrderMark = "\xef\xbb\xbf";
const QString kSchemaInstance = QStringLiteral("http://www.w3.org/2001/XMLSchema-instance");
const QString kSchema = QStringLiteral("http://www.w3.org/2001/XMLSchema");
const QRegularExpression kModelName(QStringLiteral("^[0-9]+[A-Z]?([_-][A-Za-z0-9]+)?$"));
const QRegularExpression kChipNumber(QStringLiteral("^[0-9]+$"));

QString name(pugi::xml_node node)
{
    return QString::fromUtf8(node.name());
}

QString value(pugi::xml_node node, const char* attribute)
{
    return QString::fromUtf8(node.attribute(attribute).value());
}

bool matches(const QRegularExpression& pattern, const QString& text)
{
    return pattern.match(text).hasMatch();
}

QStringList elementNames(pugi::xml_node parent)
{
    QStringList names;
    for (const pugi::xml_node child : parent.children()) {
        if (child.type() == pugi::node_element)
            names.append(name(child));
    }
    return names;
}

// Parses a document and checks how it starts: byte-order mark, declaration and root.
class DocumentCheck {
public:
    DocumentCheck(const QString& path, bool byteOrderMark, bool declaration, const char* root)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            problems.append(QStringLiteral("cannot read %1").arg(path));
            return;
        }
        const QByteArray bytes = file.readAll();
        if (bytes.startsWith(kByteOrderMark) != byteOrderMark)
            problems.append(byteOrderMark ? QStringLiteral("no byte-order mark") : QStringLiteral("a byte-order mark"));
        const QByteArray text = bytes.startsWith(kByteOrderMark) ? bytes.mid(kByteOrderMark.size()) : bytes;
        if (text.startsWith("<?xml ") != declaration)
            problems.append(declaration ? QStringLiteral("no XML declaration") : QStringLiteral("an XML declaration"));
        const pugi::xml_parse_result parsed = document.load_buffer(
            bytes.constData(), size_t(bytes.size()), pugi::parse_default | pugi::parse_comments | pugi::parse_declaration,
            pugi::encoding_utf8);
        if (!parsed) {
            problems.append(QStringLiteral("not well-formed: %1").arg(QString::fromUtf8(parsed.description())));
            return;
        }
        rootElement = document.document_element();
        if (name(rootElement) != QLatin1String(root))
            problems.append(QStringLiteral("root %1 instead of %2").arg(name(rootElement), QLatin1String(root)));
        if (value(rootElement, "xmlns:xsi") != kSchemaInstance)
            problems.append(QStringLiteral("root without the schema instance namespace"));
    }

    bool parsed() const { return bool(rootElement); }
    void expect(bool condition, const QString& problem)
    {
        if (!condition)
            problems.append(problem);
    }

    pugi::xml_document document;
    pugi::xml_node rootElement;
    QStringList problems;
};

void checkModelList(DocumentCheck& check, pugi::xml_node section)
{
    static const QRegularExpression platform(QStringLiteral("^[A-Z]+[0-9]+_[0-9]+\\.[0-9]+$"));
    QSet<QString> models;
    for (const pugi::xml_node phone : section.children()) {
        if (phone.type() != pugi::node_element)
            continue;
        const QString model = QString::fromUtf8(phone.text().get());
        check.expect(name(phone) == u"Phone", QStringLiteral("%1 holds a %2").arg(name(section), name(phone)));
        check.expect(matches(platform, value(phone, "platform")),
                     QStringLiteral("platform \"%1\"").arg(value(phone, "platform")));
        check.expect(matches(kModelName, model), QStringLiteral("model name \"%1\"").arg(model));
        check.expect(!models.contains(model), QStringLiteral("%1 twice in %2").arg(model, name(section)));
        models.insert(model);
    }
}

void checkSameDevices(DocumentCheck& check, pugi::xml_node section, const QString& path)
{
    CProductCatalogue catalogue;
    check.expect(catalogue.Load(path), QStringLiteral("the product catalogue does not load"));
    for (const pugi::xml_node entry : section.children("SameDevice")) {
        const QString outside = value(entry, "phone");
        const QString text = QString::fromUtf8(entry.text().get());
        const QString inside = text.section(QStringLiteral("_*_"), 1);
        check.expect(text == outside + QStringLiteral("_*_") + inside && matches(kModelName, inside),
                     QStringLiteral("SameDevice %1 is not \"outside_*_inside\"").arg(outside));
        check.expect(catalogue.InsideModelName(outside) == inside,
                     QStringLiteral("SameDevice %1 does not map to %2").arg(outside, inside));
    }
}

void checkSwitchProtocol(DocumentCheck& check, pugi::xml_node section)
{
    static const QRegularExpression solution(QStringLiteral("^[0-7]$"));
    static const QRegularExpression flag(QStringLiteral("^[01]$"));
    for (const pugi::xml_node entry : section.children("SwitchPhone")) {
        const QString model = value(entry, "name");
        check.expect(matches(kModelName, model), QStringLiteral("SwitchPhone name \"%1\"").arg(model));
        check.expect(elementNames(entry) == QStringList{"ProjectInfo", "Download"},
                     QStringLiteral("SwitchPhone %1 parts").arg(model));
        const pugi::xml_node project = entry.child("ProjectInfo");
        check.expect(matches(solution, value(project, "SolutionType")) && matches(kChipNumber, value(project, "ChipsetType"))
                         && matches(flag, value(entry.child("Download"), "UnzipVKB")),
                     QStringLiteral("SwitchPhone %1 values").arg(model));
    }
}

QStringList legendComments(const pugi::xml_document& document)
{
    QStringList comments;
    for (pugi::xml_node node = document.first_child(); node && node.type() != pugi::node_element; node = node.next_sibling()) {
        if (node.type() == pugi::node_comment)
            comments.append(QString::fromUtf8(node.value()));
    }
    return comments;
}

void checkBlockParts(DocumentCheck& check, pugi::xml_node block, const QString& blockName)
{
    static const QRegularExpression parts(QStringLiteral("^ProjectInfo,Download,(Chcek,)?(Disk,)?FileInfo$"));
    static const QRegularExpression diskSize(QStringLiteral("^[0-9]{10}$"));
    const QString problem = QStringLiteral("Phone block %1: ").arg(blockName);
    const QString order = elementNames(block).join(u',');
    check.expect(matches(parts, order), problem + QStringLiteral("parts out of order: ") + order);
    check.expect(elementNames(block.child("Download")) == QStringList{"DownloadType"},
                 problem + QStringLiteral("Download holds other than one DownloadType"));
    check.expect(matches(kChipNumber, value(block.child("ProjectInfo"), "ChipsetType")), problem + QStringLiteral("ChipsetType"));
    if (const pugi::xml_node checks = block.child("Chcek")) {
        check.expect(value(checks, "PhoneMatch") == u"1" && value(checks, "UseNewBootloader") == u"1",
                     problem + QStringLiteral("Chcek values"));
    }
    if (const pugi::xml_node disk = block.child("Disk"))
        check.expect(matches(diskSize, value(disk, "Size")),
                     problem + QStringLiteral("Disk Size \"%1\"").arg(value(disk, "Size")));
    const QStringList files = elementNames(block.child("FileInfo"));
    check.expect(!files.isEmpty() && files.count(QStringLiteral("File")) == files.size(),
                 problem + QStringLiteral("FileInfo holds no File or other elements"));
}

// A model element is empty and carries its Index alone.
bool isPlainModelElement(pugi::xml_node element)
{
    const auto attributes = element.attributes();
    return std::distance(attributes.begin(), attributes.end()) == 1 && element.attribute("Index") && !element.first_child();
}

} // namespace

QStringList CheckProductCatalogue(const QString& path)
{
    DocumentCheck check(path, true, true, "CONFIG");
    if (!check.parsed())
        return check.problems;
    const pugi::xml_node root = check.rootElement;
    static const QRegularExpression version(QStringLiteral("^V[0-9]+\\.[0-9]+\\.[0-9]+_[0-9]{6}_[0-9]{2}$"));
    check.expect(elementNames(root) == QStringList{"ZARV_VERSION", "Assembly", "Customer", "SameDeviceName", "SwitchProtocol"},
                 QStringLiteral("sections out of order: %1").arg(elementNames(root).join(u',')));
    check.expect(matches(version, QString::fromUtf8(root.child("ZARV_VERSION").text().get())),
                 QStringLiteral("ZARV_VERSION form"));
    checkModelList(check, root.child("Assembly"));
    checkModelList(check, root.child("Customer"));
    checkSameDevices(check, root.child("SameDeviceName"), path);
    checkSwitchProtocol(check, root.child("SwitchProtocol"));
    return check.problems;
}

QStringList CheckDeviceCatalogue(const QString& path)
{
    DocumentCheck check(path, false, true, "EnvironmentParam");
    if (!check.parsed())
        return check.problems;
    check.expect(legendComments(check.document) == QStringList{
                     "SolutionType:0-UMS;1-ADB;2-model;3-uDisk;4-mavell;5-7KA;6-MTK;7-LC", "ChipsetType:chip type",
                     "UnzipVKB:0-do not zip vkb;1-zip vkb", "DownAndroid:1-download VKB;0-dot download model",
                     "DownMod:1-download model;0-dot download model"},
                 QStringLiteral("legend comments differ"));
    static const QRegularExpression order(QStringLiteral("^CONFIG_VERSION(,VK[^,]+)*(,Phone)*$"));
    static const QRegularExpression version(QStringLiteral("^V[0-9]\\.[0-9]{2}\\.[0-9]{2}$"));
    static const QRegularExpression blockName(QStringLiteral("^[A-Z]+[0-9]+_[0-9]{2}$"));
    const pugi::xml_node root = check.rootElement;
    check.expect(matches(order, elementNames(root).join(u',')), QStringLiteral("root parts out of order"));
    check.expect(matches(version, QString::fromUtf8(root.child("CONFIG_VERSION").text().get())),
                 QStringLiteral("CONFIG_VERSION form"));

    CDeviceCatalogue catalogue;
    check.expect(catalogue.Load(path), QStringLiteral("the device catalogue does not load"));
    QSet<QString> blocks;
    for (const pugi::xml_node block : root.children("Phone")) {
        const QString blockNameText = value(block, "name");
        check.expect(matches(blockName, blockNameText), QStringLiteral("Phone block name \"%1\"").arg(blockNameText));
        check.expect(!blocks.contains(blockNameText), QStringLiteral("Phone block %1 twice").arg(blockNameText));
        blocks.insert(blockNameText);
        checkBlockParts(check, block, blockNameText);
        const Outcome<DeviceLayout> layout = catalogue.Block(blockNameText);
        check.expect(bool(layout), layout.error);
    }
    for (const pugi::xml_node element : root.children()) {
        const QString model = name(element).mid(2);
        if (!name(element).startsWith(u"VK"))
            continue;
        check.expect(matches(kModelName, model) && isPlainModelElement(element),
                     QStringLiteral("model element %1 is not an empty element with Index alone").arg(name(element)));
        const Outcome<DeviceLayout> layout = catalogue.Resolve(model);
        check.expect(bool(layout), QStringLiteral("model %1: %2").arg(model, layout.error));
    }
    return check.problems;
}

QStringList CheckIssueList(const QString& path)
{
    DocumentCheck check(path, false, true, "ISSUELIST");
    if (!check.parsed())
        return check.problems;
    static const QRegularExpression idForm(QStringLiteral("^T[0-9]{5}$"));
    check.expect(elementNames(check.rootElement).count(QStringLiteral("issue")) == elementNames(check.rootElement).size(),
                 QStringLiteral("ISSUELIST holds other than issue elements"));
    QSet<QString> ids;
    int category = 0;
    for (const pugi::xml_node issue : check.rootElement.children("issue")) {
        ++category;
        check.expect(!value(issue, "type").isEmpty(), QStringLiteral("issue %1 without type").arg(category));
        int item = 0;
        for (const pugi::xml_node subissue : issue.children()) {
            if (subissue.type() != pugi::node_element)
                continue;
            const QString id = value(subissue, "id");
            const QString expected = QStringLiteral("T%1%2").arg(category, 2, 10, QChar(u'0')).arg(++item, 3, 10, QChar(u'0'));
            check.expect(name(subissue) == u"subissue" && !value(subissue, "type").isEmpty(),
                         QStringLiteral("issue %1 item %2 is not a subissue with a type").arg(category).arg(item));
            check.expect(matches(idForm, id), QStringLiteral("id \"%1\" is not T and five digits").arg(id));
            check.expect(id == expected, QStringLiteral("id %1 where %2 belongs").arg(id, expected));
            check.expect(!ids.contains(id), QStringLiteral("id %1 twice").arg(id));
            ids.insert(id);
        }
        check.expect(item > 0, QStringLiteral("issue %1 has no subissue").arg(category));
    }
    return check.problems;
}

QStringList CheckCommonSettings(const QString& path)
{
    DocumentCheck check(path, false, false, "EnvironmentParam");
    if (!check.parsed())
        return check.problems;
    const pugi::xml_node root = check.rootElement;
    check.expect(value(root, "xmlns:xsd") == kSchema, QStringLiteral("root without the schema namespace"));
    check.expect(elementNames(root) == QStringList{"Tool", "ProjectInfo", "Download"}, QStringLiteral("root parts"));
    check.expect(elementNames(root.child("Download")) == QStringList{"DownloadPath", "DownloadType"},
                 QStringLiteral("Download parts"));
    check.expect(elementNames(root.child("Download").child("DownloadPath")) == QStringList{"VKB", "GPS", "SoftData"},
                 QStringLiteral("DownloadPath parts"));
    return check.problems;
}
