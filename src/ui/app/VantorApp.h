#pragma once
// The application object: prepares the process for the fixed 96-DPI layout, holds the
// program-wide state, creates the document and the main frame, and either runs the
// event loop or, for --screenshot, draws the window once into a PNG.

#include <QString>
#include <memory>

#include "model/ProgramState.h"
#include "ui/app/CommandLine.h"

class QApplication;
class QImage;
class QWidget;

namespace vantor {

class CMainFrame;
class CVantorDoc;
class DeviceHost;

class CVantorApp {
 public:
  // Before the QApplication exists: no scaling of any kind, 96 DPI, pixel-sized fonts.
  static void PrepareProcess();

  explicit CVantorApp(LaunchOptions options);
  ~CVantorApp();
  CVantorApp(const CVantorApp&) = delete;
  CVantorApp& operator=(const CVantorApp&) = delete;

  // Fonts, the start-up language, the document, the processor (USB, or the simulated one
  // with --demo) and the main frame; shows the window centred. False ends the program
  // with ExitCode().
  bool InitInstance();
  int ExitCode() const { return m_exitCode; }
  // The event loop; once start-up has settled, the window of --open is opened and, with
  // --screenshot, the picture (of that window, or the main one) written before leaving.
  // Then the link is shut down and the simulated processor's memory saved. Returns the
  // exit code.
  int Run();
  // How long --screenshot waits for the start-up connection and read-back.
  static constexpr int kScreenshotWaitMs = 30000;
  // How long an opened window is given to lay itself out before its picture is taken.
  static constexpr int kOpenedWindowSettleMs = 150;

  ProgramState& State() { return m_state; }
  CVantorDoc& Doc() { return *m_doc; }
  CMainFrame& Frame() { return *m_frame; }

  // Writes the window as it is drawn now; false (with a message) when the file fails.
  static bool SaveScreenshot(QWidget& window, const QString& path, QString* error);
  static bool SavePicture(const QImage& image, const QString& path, QString* error);
  // The window as it is drawn now; with its caption, a caption bar holding its title is
  // put above it (the window system's own is not part of a widget's picture).
  static QImage PictureOf(QWidget& window, bool withCaption);
  static constexpr int kPictureCaptionHeight = 28;

 private:
  LaunchOptions m_options;
  ProgramState m_state;
  std::unique_ptr<CVantorDoc> m_doc;
  std::unique_ptr<DeviceHost> m_host;
  std::unique_ptr<CMainFrame> m_frame;
  int m_exitCode = 0;
};

}  // namespace vantor
