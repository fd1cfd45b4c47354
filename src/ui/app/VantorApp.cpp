#include "ui/app/VantorApp.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFont>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "ui/app/DeviceHost.h"
#include "ui/app/FormDialogs.h"
#include "ui/app/FrameTrace.h"
#include "ui/app/MainFrame.h"
#include "ui/app/NamedWindows.h"
#include "ui/app/SampleTune.h"
#include "ui/app/VantorDoc.h"
#include "ui/app/VantorView.h"
#include "ui/controls/Skin.h"
#include "ui/panels/GraphPanel.h"

namespace vantor {

void CVantorApp::PrepareProcess() {
  // The form is laid out in pixels for 96 DPI and is never scaled.
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  qunsetenv("QT_SCALE_FACTOR");
  qunsetenv("QT_SCREEN_SCALE_FACTORS");
  qunsetenv("QT_AUTO_SCREEN_SCALE_FACTOR");
  QCoreApplication::setAttribute(Qt::AA_Use96Dpi);
  QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Floor);
}

CVantorApp::CVantorApp(LaunchOptions options) : m_options(std::move(options)) {}

CVantorApp::~CVantorApp() {
  // The frame (and the view with the link in it) goes before the processor it talks to and
  // the document whose model it shows.
  m_frame.reset();
  m_host.reset();
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

  if (m_options.demo) {
    DeviceHost::DemoOptions demo;
    if (!m_options.demoState.isEmpty()) {
      demo.stateFile = std::filesystem::path(m_options.demoState.toStdString());
    }
    demo.sampleTune = m_options.sampleTune;
    std::string error;
    m_host = DeviceHost::Demo(demo, m_options.chinese, &error);
    if (!m_host) {
      std::fprintf(stderr, "vantor: %s\n", error.c_str());
      m_exitCode = 2;
      return false;
    }
  } else {
    m_host = DeviceHost::Usb();
  }

  m_frame = std::make_unique<CMainFrame>(*m_doc);
  CVantorView& view = m_frame->View();
  view.AttachDevice(*m_host);
  view.SetFrameTap(StderrTraceTap(TraceLevelFrom(m_options.trace, std::getenv("VANTOR_TRACE"))));
  view.SetDemoBadge(m_options.demo);
  view.OnInitialUpdate();
  if (m_options.sampleTune && !m_options.demo) {
    ApplySampleTune(m_doc->Data());
    view.RefreshAll();
  }
  if (const auto file = MeasurementFileOf(m_options)) view.GraphRow().KeepMeasurementsIn(*file);
  m_frame->CentreOnScreen();
  m_frame->show();
  return true;
}

QImage CVantorApp::PictureOf(QWidget& window, bool withCaption) {
  const QImage body = window.grab().toImage();
  if (!withCaption) return body;
  // The window system draws a dialog's caption; the picture gets a plain one of its own,
  // so that it shows which window it is.
  QImage picture(body.width(), body.height() + kPictureCaptionHeight, QImage::Format_RGB32);
  QPainter p(&picture);
  QLinearGradient bar(0, 0, 0, kPictureCaptionHeight);
  bar.setColorAt(0.0, skin::FaceTop());
  bar.setColorAt(1.0, skin::FaceBottom());
  p.fillRect(QRect(0, 0, body.width(), kPictureCaptionHeight), bar);
  p.setPen(skin::Text());
  p.setFont(skin::Font1());
  p.drawText(QRect(10, 0, body.width() - 20, kPictureCaptionHeight),
             Qt::AlignLeft | Qt::AlignVCenter, window.windowTitle());
  p.drawImage(0, kPictureCaptionHeight, body);
  p.setPen(skin::Border());
  p.drawRect(picture.rect().adjusted(0, 0, -1, -1));
  p.drawLine(0, kPictureCaptionHeight - 1, body.width(), kPictureCaptionHeight - 1);
  return picture;
}

bool CVantorApp::SaveScreenshot(QWidget& window, const QString& path, QString* error) {
  return SavePicture(PictureOf(window, false), path, error);
}

bool CVantorApp::SavePicture(const QImage& image, const QString& path, QString* error) {
  QImageWriter writer(path, "png");
  if (!writer.write(image)) {
    if (error != nullptr) *error = writer.errorString();
    return false;
  }
  return true;
}

int CVantorApp::Run() {
  int code = 0;
  const bool shoot = !m_options.screenshotPath.isEmpty();
  QElapsedTimer waited;
  waited.start();
  QTimer poll;
  poll.setInterval(20);
  // Once the start-up connection has come to rest (no processor, or the read-back done):
  // the window asked for opens, and the picture is drawn (of that window, if any).
  QObject::connect(&poll, &QTimer::timeout, m_frame.get(), [this, &poll, &waited, &code, shoot] {
    const bool settled = m_frame->View().StartupSettled();
    if (!settled && waited.elapsed() < kScreenshotWaitMs) return;
    poll.stop();
    if (!settled)
      std::fprintf(stderr,
                   "vantor: start-up had not finished; going on with the window as it is\n");
    QWidget* opened = nullptr;
    if (!m_options.openWindow.isEmpty())
      opened = OpenNamedWindow(m_frame->View(), m_options.openWindow);
    if (!shoot) return;
    // The opened window is laid out and drawn before it is taken.
    QTimer::singleShot(kOpenedWindowSettleMs, m_frame.get(), [this, &code, opened] {
      const QImage picture =
          opened != nullptr ? PictureOf(*opened, true) : PictureOf(*m_frame, false);
      QString error;
      if (!SavePicture(picture, m_options.screenshotPath, &error)) {
        std::fprintf(stderr, "vantor: cannot write %s: %s\n",
                     m_options.screenshotPath.toLocal8Bit().constData(),
                     error.toLocal8Bit().constData());
        code = 1;
      }
      QApplication::quit();
    });
  });
  if (shoot || !m_options.openWindow.isEmpty()) poll.start();
  const int loop = QApplication::exec();
  if (!shoot) code = loop;
  // The worker stops and the claim goes before the simulated processor's memory is kept.
  m_frame->View().Shutdown();
  std::string error;
  if (!m_host->SaveDemoState(m_options.chinese, &error)) {
    std::fprintf(stderr, "vantor: %s\n", error.c_str());
    if (code == 0) code = 1;
  }
  return code;
}

}  // namespace vantor
