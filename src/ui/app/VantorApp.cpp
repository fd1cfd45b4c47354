#include "ui/app/VantorApp.h"

#include <QApplication>
#include <QFont>
#include <QImage>
#include <QImageWriter>
#include <QPalette>
#include <QPixmap>
#include <QTimer>
#include <cstdio>

#include "ui/app/MainFrame.h"
#include "ui/app/SampleTune.h"
#include "ui/app/VantorDoc.h"
#include "ui/app/VantorView.h"
#include "ui/controls/Skin.h"

namespace vantor {

void CVantorApp::PrepareProcess() {
  // The form is laid out in pixels for 96 DPI and is never scaled.
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  qunsetenv("QT_SCALE_FACTOR");
  qunsetenv("QT_SCREEN_SCALE_FACTORS");
  qunsetenv("QT_AUTO_SCREEN_SCALE_FACTOR");
  QCoreApplication::setAttribute(Qt::AA_Use96Dpi);
  QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
      Qt::HighDpiScaleFactorRoundingPolicy::Floor);
}

CVantorApp::CVantorApp(LaunchOptions options) : m_options(std::move(options)) {}

CVantorApp::~CVantorApp() {
  // The frame (and the view in it) goes before the document whose model it shows.
  m_frame.reset();
  m_doc.reset();
}

bool CVantorApp::InitInstance() {
  QApplication::setFont(skin::Font1());
  QPalette palette = QApplication::palette();
  palette.setColor(QPalette::Window, skin::FormBackground());
  QApplication::setPalette(palette);

  m_state.chinese.store(m_options.chinese);
  m_state.currentOutput.store(0);

  m_doc = std::make_unique<CVantorDoc>(m_state);
  // The outputs start with the start-up record's values.
  m_doc->Data().LoadOutputs();
  if (m_options.sampleTune) ApplySampleTune(m_doc->Data());

  m_frame = std::make_unique<CMainFrame>(*m_doc);
  m_frame->View().OnInitialUpdate();
  m_frame->CentreOnScreen();
  m_frame->show();
  return true;
}

bool CVantorApp::SaveScreenshot(QWidget& window, const QString& path, QString* error) {
  const QImage image = window.grab().toImage();
  QImageWriter writer(path, "png");
  if (!writer.write(image)) {
    if (error != nullptr) *error = writer.errorString();
    return false;
  }
  return true;
}

int CVantorApp::Run() {
  if (m_options.screenshotPath.isEmpty()) return QApplication::exec();
  int code = 0;
  // Once the start-up has been handled by the event loop, draw and leave.
  QTimer::singleShot(0, m_frame.get(), [this, &code] {
    QString error;
    if (!SaveScreenshot(*m_frame, m_options.screenshotPath, &error)) {
      std::fprintf(stderr, "vantor: cannot write %s: %s\n",
                   m_options.screenshotPath.toLocal8Bit().constData(),
                   error.toLocal8Bit().constData());
      code = 1;
    }
    QApplication::quit();
  });
  QApplication::exec();
  return code;
}

}  // namespace vantor
