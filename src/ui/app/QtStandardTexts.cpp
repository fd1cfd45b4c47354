#include "ui/app/QtStandardTexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace vantor {

QtStandardTexts::~QtStandardTexts() {
  if (m_installed) QCoreApplication::removeTranslator(&m_chinese);
}

bool QtStandardTexts::Apply(bool chinese) {
  if (!chinese) {
    if (m_installed) QCoreApplication::removeTranslator(&m_chinese);
    m_installed = false;
    return true;
  }
  if (!m_loaded) {
    // qtbase_zh_CN.qm from the system's Qt translations.
    m_loaded =
        m_chinese.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                       QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
  }
  if (m_loaded && !m_installed) m_installed = QCoreApplication::installTranslator(&m_chinese);
  return m_installed;
}

}  // namespace vantor
