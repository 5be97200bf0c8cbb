#include "config/UserConfig.h"

#include "config/OptionText.h"
#include "config/XMLConfig.h"
#include "platform/MessageBox.h"
#include "platform/ProgramDirectory.h"

#include <array>

namespace {

struct ProfileFlag {
    int32_t DownloadOptions::*member;
    QString key;
};

// The keys are spelled as stored: "DownLoadVKB" with a capital L, "DownloadRES" with a small one.
const std::array<QList<ProfileFlag>, 3> kOptionStrings = {{
    {{&DownloadOptions::DownLoadVKB, QStringLiteral("DownLoadVKB")},
     {&DownloadOptions::DownloadRES, QStringLiteral("DownloadRES")}},
    {{&DownloadOptions::CKPhoneName, QStringLiteral("CKPhoneName")},
     {&DownloadOptions::CKeMMC, QStringLiteral("CKeMMC")},
     {&DownloadOptions::CKFuse, QStringLiteral("CKFuse")},
     {&DownloadOptions::CKInstrument, QStringLiteral("CKInstrument")}},
    {{&DownloadOptions::DownSystem, QStringLiteral("DownSystem")},
     {&DownloadOptions::DownUserdata, QStringLiteral("DownUserdata")},
     {&DownloadOptions::DownLK, QStringLiteral("DownLK")}},
}};

const std::array<QString, 3> kProfileTags = {
    QStringLiteral("DOWNLOAD_RES"), QStringLiteral("DOWNLOAD_CHECK"), QStringLiteral("DOWNLOAD_SUBAREA")};
const std::array<ProfileRead, 3> kStepFailures = {
    ProfileRead::Step1Failed, ProfileRead::Step2Failed, ProfileRead::Step3Failed};

const QString kNoSavedProfile = QStringLiteral("SKIPTHISTIME");
const QString kSchemaInstance = QStringLiteral("http://www.w3.org/2001/XMLSchema-instance");
const QString kProfileVersion = QStringLiteral("V1.0");

// The piece of an option string that belongs to its k-th key; the last key takes
// everything after the "#" before it.
QString PieceOf(const QString& optionString, int k, int keyCount)
{
    const QChar separator = QLatin1Char('#');
    return k < keyCount - 1 ? optionString.section(separator, k, k) : optionString.section(separator, k);
}

template<typename FlagTest>
std::optional<DownloadOptions> ReadFlags(const QStringList& optionStrings, FlagTest isSet)
{
    if (optionStrings.size() != int(kOptionStrings.size()))
        return std::nullopt;
    DownloadOptions options;
    for (int s = 0; s < optionStrings.size(); ++s) {
        const QList<ProfileFlag>& flags = kOptionStrings[s];
        for (int k = 0; k < flags.size(); ++k)
            options.*flags[k].member = isSet(optionStrings[s], flags[k].key, k, int(flags.size())) ? 1 : 0;
    }
    return options;
}

// Decodes the three option strings in turn and hands them over. error receives the
// accessor's text of a failed read and stays empty when a decoding fails.
ProfileRead ReadProfile(CXMLConfig& config, const ProfileApply& apply, QString& error)
{
    QStringList optionStrings;
    for (size_t step = 0; step < kProfileTags.size(); ++step) {
        QString stored;
        if (!config.GetItemValue(kProfileTags[step], stored, error))
            return kStepFailures[step];
        if (step == 0 && stored.contains(kNoSavedProfile))
            return ProfileRead::NoSavedProfile;
        const std::optional<QString> plain = DecodeOptionText(stored);
        if (!plain)
            return kStepFailures[step];
        optionStrings.append(*plain);
    }
    return apply && apply(optionStrings) ? ProfileRead::Applied : ProfileRead::Step4Failed;
}

QString ProfilePageMessage(ProfileRead outcome, const QString& error)
{
    switch (outcome) {
    case ProfileRead::LoadFailed: return QStringLiteral("Can't load the user configure xml!");
    case ProfileRead::Step1Failed: return QStringLiteral("Decode usercfg.xml error!");
    case ProfileRead::Step2Failed: return QStringLiteral("Load usercfg.xml error 2:%1").arg(error);
    case ProfileRead::Step3Failed: return QStringLiteral("Load usercfg.xml error 3!");
    case ProfileRead::Step4Failed: return QStringLiteral("Load usercfg.xml error 4!");
    default: return QString();
    }
}

QString MainFrameMessage(ProfileRead outcome, const QString& error)
{
    switch (outcome) {
    case ProfileRead::LoadFailed: return error;
    case ProfileRead::Step1Failed: return QStringLiteral("MainFrame load usercfg.xml error 1:%1").arg(error);
    case ProfileRead::Step2Failed: return QStringLiteral("MainFrame load usercfg.xml error 2:%1").arg(error);
    case ProfileRead::Step3Failed: return QStringLiteral("MainFrame load usercfg.xml error 3:%1").arg(error);
    case ProfileRead::Step4Failed: return QStringLiteral("MainFrame load usercfg.xml error 4!");
    default: return QString();
    }
}

} // namespace

QString UserConfigPath()
{
    return Platform::programDirectory() + QStringLiteral("UserConfig/UserConfig.xml");
}

QStringList BuildOptionStrings(const DownloadOptions& options)
{
    QStringList optionStrings;
    for (const QList<ProfileFlag>& flags : kOptionStrings) {
        QString optionString;
        for (const ProfileFlag& flag : flags)
            optionString += flag.key + (options.*flag.member ? QStringLiteral(".TRUE#") : QStringLiteral(".FALSE#"));
        optionStrings.append(optionString);
    }
    return optionStrings;
}

std::optional<DownloadOptions> OptionsByKey(const QStringList& optionStrings)
{
    return ReadFlags(optionStrings, [](const QString& optionString, const QString& key, int, int) {
        return optionString.contains(key + QStringLiteral(".TRUE"));
    });
}

std::optional<DownloadOptions> OptionsByPosition(const QStringList& optionStrings)
{
    return ReadFlags(optionStrings, [](const QString& optionString, const QString&, int k, int keyCount) {
        return PieceOf(optionString, k, keyCount).contains(QStringLiteral("TRUE"));
    });
}

ProfileRead ReadSavedProfile(const QString& path, ProfileReader reader, const ProfileApply& apply)
{
    CXMLConfig config;
    QString error;
    const ProfileRead outcome = config.LoadFile(path, error) ? ReadProfile(config, apply, error) : ProfileRead::LoadFailed;
    config.CloseFile();
    const QString message = reader == ProfileReader::ProfilePage ? ProfilePageMessage(outcome, error)
                                                                  : MainFrameMessage(outcome, error);
    if (!message.isEmpty())
        Platform::messageBox(message);
    return outcome;
}

bool SaveProfile(const QString& path, const DownloadOptions& options)
{
    // The third string has no message of its own.
    const std::array<QString, 3> encodeMessages = {
        QStringLiteral("Save usercfg.xml error 2!"), QStringLiteral("Save usercfg.xml error 3!"), QString()};
    const QStringList plain = BuildOptionStrings(options);
    QStringList encoded;
    for (int i = 0; i < plain.size(); ++i) {
        const std::optional<QString> text = EncodeOptionText(plain[i]);
        if (!text) {
            if (!encodeMessages[i].isEmpty())
                Platform::messageBox(encodeMessages[i]);
            return false;
        }
        encoded.append(*text);
    }
    CXMLConfig config;
    QString error;
    if (!config.LoadFile(path, error)) {
        Platform::messageBox(QStringLiteral("loading usercfg.xml error!"));
        return false;
    }
    bool written = config.SetChildItemAttribute(true, QStringLiteral("CONFIG"), QStringLiteral("xmlns:xsi"), kSchemaInstance,
                                                QStringLiteral("LASTSETTING"), QStringLiteral("CFGVERSION"),
                                                kProfileVersion, error);
    for (int i = 0; i < encoded.size(); ++i) {
        written = config.SetChildItemValue(true, QStringLiteral("LASTSETTING"), QStringLiteral("CFGVERSION"),
                                           kProfileVersion, kProfileTags[i], encoded[i], error)
            && written;
    }
    written = config.SaveFile() && written;
    config.CloseFile();
    return written;
}
