#pragma once
// How the main form tells and asks the user: a message with OK, and a question with OK and
// Cancel. By default these are modal message boxes; tests put their own answers in.

#include <QString>
#include <functional>

namespace vantor {

struct ViewPrompts {
  std::function<void(const QString& text)> message;
  // True for OK.
  std::function<bool(const QString& text)> question;
};

}  // namespace vantor
