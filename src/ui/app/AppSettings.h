#pragma once
// What the window remembers between runs, in the platform's settings store under the
// organisation and application names below (an INI file under the user's configuration
// folder). Tests point the store at a folder of their own with
// QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder).

#include <QString>

namespace vantor::settings {

inline constexpr const char* kOrganisation = "Vantor";
inline constexpr const char* kApplication = "vantor";

// The last firmware file chosen ("USB/Name") and its folder text ("USB/Path").
struct FirmwareMemory {
  QString file;
  QString folderText;
};
FirmwareMemory LoadFirmwareMemory();
void SaveFirmwareMemory(const FirmwareMemory& memory);

// The folder a preset or report file was last opened from or saved to; empty when none.
QString LastFileFolder();
void SetLastFileFolder(const QString& folder);

}  // namespace vantor::settings
