#include "firmware/FirmwareFile.h"

#include <filesystem>
#include <system_error>

namespace vantor {

FirmwareFile::FirmwareFile(std::string rememberedPath) : m_path(std::move(rememberedPath)) {}

bool FirmwareFile::ChooseFirmwareFile(const std::optional<std::string>& chosen) {
  if (!chosen || chosen->empty()) return false;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(*chosen, ec)) return false;
  m_path = *chosen;
  const auto cwd = std::filesystem::current_path(ec);
  m_folder = ((ec ? std::filesystem::path() : cwd) / "DataFile" / "*.bin").string();
  return true;
}

FirmwareLoadResult FirmwareFile::LoadFirmwareImage() {
  m_image.reset();
  FirmwareLoadResult result = ReadFirmwareImage(m_path);
  if (result.error == FirmwareLoadError::kUnreadable) m_path.clear();
  if (result.image) m_image = result.image;
  return result;
}

}  // namespace vantor
