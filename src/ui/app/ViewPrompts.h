#pragma once
// How the main form and its dialogs tell and ask the user: a message with OK, a question
// with OK and Cancel, one with Yes and No, and the file chooser. By default these are modal
// message boxes and the toolkit's file dialog; tests put their own answers in.

#include <QString>
#include <functional>

namespace vantor {

// What a file chooser is asked for.
struct FileRequest {
  enum class Kind { kOpen, kSave };
  Kind kind = Kind::kOpen;
  QString title;
  QString filter;  // "Presets (*.dsps *.dspa)"
  QString folder;  // where it starts; a file name in it is proposed for a save
  QString suffix;  // added to a saved name without one ("dsps"); empty: none
};

struct ViewPrompts {
  std::function<void(const QString& text)> message;
  // True for OK.
  std::function<bool(const QString& text)> question;
  // True for Yes.
  std::function<bool(const QString& text)> yesNo;
  // The chosen file; empty when cancelled. An open asks for an existing file; a save asks
  // before replacing one.
  std::function<QString(const FileRequest& request)> chooseFile;
};

}  // namespace vantor
