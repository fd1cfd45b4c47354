#pragma once
// The application object: prepares the process for the fixed 96-DPI layout, holds the
// program-wide state, creates the document and the main frame, and either runs the
// event loop or, for --screenshot, draws the window once into a PNG.

#include <QString>
#include <memory>

#include "model/ProgramState.h"
#include "ui/app/CommandLine.h"

class QApplication;
class QWidget;

namespace vantor {

class CMainFrame;
class CVantorDoc;

class CVantorApp {
 public:
  // Before the QApplication exists: no scaling of any kind, 96 DPI, pixel-sized fonts.
  static void PrepareProcess();

  explicit CVantorApp(LaunchOptions options);
  ~CVantorApp();
  CVantorApp(const CVantorApp&) = delete;
  CVantorApp& operator=(const CVantorApp&) = delete;

  // Fonts, the start-up language, the document and the main frame; shows the window
  // centred. False ends the program.
  bool InitInstance();
  // The event loop, or the screenshot. Returns the exit code.
  int Run();

  ProgramState& State() { return m_state; }
  CVantorDoc& Doc() { return *m_doc; }
  CMainFrame& Frame() { return *m_frame; }

  // Writes the window as it is drawn now; false (with a message) when the file fails.
  static bool SaveScreenshot(QWidget& window, const QString& path, QString* error);

 private:
  LaunchOptions m_options;
  ProgramState m_state;
  std::unique_ptr<CVantorDoc> m_doc;
  std::unique_ptr<CMainFrame> m_frame;
};

}  // namespace vantor
