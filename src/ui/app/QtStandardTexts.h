#pragma once
// Qt's own texts in the interface's language: the buttons of the message boxes ("确定" /
// "OK"), the file chooser's labels and the edit menus Qt draws. While the interface is
// Chinese, Qt's Chinese translation is installed in the application; in English it is taken
// out again. Without Qt's translation files on the system Qt's English texts simply stay.

#include <QTranslator>

namespace vantor {

class QtStandardTexts {
 public:
  QtStandardTexts() = default;
  QtStandardTexts(const QtStandardTexts&) = delete;
  QtStandardTexts& operator=(const QtStandardTexts&) = delete;
  ~QtStandardTexts();

  // Puts Qt's texts into the language; true when they are in it now (English always is).
  bool Apply(bool chinese);

 private:
  QTranslator m_chinese;
  bool m_loaded = false;
  bool m_installed = false;
};

}  // namespace vantor
