#pragma once
// Texts of the window shell (system menu, about box) as Chinese/English pairs.

#include "text/TextCatalog.h"

namespace vantor::shell {

inline constexpr TextPair kFirmwareUpdate{"固件更新", "Firmware Update"};
// The language entry names the language it switches to.
inline constexpr TextPair kLanguageSwitch{"英文", "Chinese"};
inline constexpr TextPair kAbout{"关于", "About"};
// The application title, the main window's text.
inline constexpr const char* kApplicationTitle = "TRX-560-MAX";

inline std::string_view Pick(const TextPair& p, bool chinese) {
  return chinese ? p.chinese : p.english;
}

}  // namespace vantor::shell
