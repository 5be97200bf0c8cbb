#pragma once
#include "download/DownloadOptions.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The station's settings file, UserConfig/UserConfig.xml in the program directory:
// the last role and language, the last package and image paths, and the download
// profile, stored encoded as three option strings under LASTSETTING:
//   DOWNLOAD_RES      "DownLoadVKB.%s#DownloadRES.%s#"
//   DOWNLOAD_CHECK    "CKPhoneName.%s#CKeMMC.%s#CKFuse.%s#CKInstrument.%s#"
//   DOWNLOAD_SUBAREA  "DownSystem.%s#DownUserdata.%s#DownLK.%s#"
// with each %s "TRUE" or "FALSE". A DOWNLOAD_RES holding "SKIPTHISTIME" means that no
// profile has been saved yet.

// The file's full path under the program directory.
QString UserConfigPath();

// The three option strings of a profile, in the order above.
QStringList BuildOptionStrings(const DownloadOptions& options);

// The main frame's reading: a flag is set when its string holds its key followed by
// ".TRUE" anywhere. Nothing unless exactly three strings are given.
std::optional<DownloadOptions> OptionsByKey(const QStringList& optionStrings);

// The profile page's reading: each string is cut at "#", the k-th piece belongs to
// the string's k-th key (the last key takes all that follows), and a flag is set when
// its piece holds "TRUE". Nothing unless exactly three strings are given.
std::optional<DownloadOptions> OptionsByPosition(const QStringList& optionStrings);

// How a reading of the saved profile ended. The numbered steps are the option
// strings 1 to 3 (not readable or not decodable) and 4, the caller refusing them.
enum class ProfileRead { Applied, NoSavedProfile, LoadFailed, Step1Failed, Step2Failed, Step3Failed, Step4Failed };

// Who reads the profile decides the texts of the failure messages.
enum class ProfileReader { ProfilePage, MainFrame };

// Gets the three decoded option strings; false (or no function at all) refuses them.
using ProfileApply = std::function<bool(const QStringList& optionStrings)>;

// Reads the saved profile from the file at path and hands it to apply. A failure is
// shown in a message box with the reader's text; the marker shows nothing and
// applies nothing. The file is closed again whatever the outcome.
ProfileRead ReadSavedProfile(const QString& path, ProfileReader reader, const ProfileApply& apply);

// Writes the profile encoded into the file at path, creating LASTSETTING and its
// three children when missing. Failures to encode or load are shown in a message
// box; the later steps are silent. True when the profile reached the file.
bool SaveProfile(const QString& path, const DownloadOptions& options);
