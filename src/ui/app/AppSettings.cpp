#include "ui/app/AppSettings.h"

#include <QSettings>

namespace vantor::settings {
namespace {

// Runs `use` on the store; a QSettings cannot be handed around.
template <class Use>
auto WithStore(Use use) {
  QSettings store(QSettings::IniFormat, QSettings::UserScope, QLatin1String(kOrganisation),
                  QLatin1String(kApplication));
  return use(store);
}

const QString kFirmwareFile = QStringLiteral("USB/Name");
const QString kFirmwareFolder = QStringLiteral("USB/Path");
const QString kFileFolder = QStringLiteral("Files/LastFolder");

}  // namespace

FirmwareMemory LoadFirmwareMemory() {
  return WithStore([](QSettings& store) {
    return FirmwareMemory{store.value(kFirmwareFile).toString(),
                          store.value(kFirmwareFolder).toString()};
  });
}

void SaveFirmwareMemory(const FirmwareMemory& memory) {
  WithStore([&memory](QSettings& store) {
    store.setValue(kFirmwareFile, memory.file);
    store.setValue(kFirmwareFolder, memory.folderText);
  });
}

QString LastFileFolder() {
  return WithStore([](QSettings& store) { return store.value(kFileFolder).toString(); });
}

void SetLastFileFolder(const QString& folder) {
  WithStore([&folder](QSettings& store) { store.setValue(kFileFolder, folder); });
}

}  // namespace vantor::settings
