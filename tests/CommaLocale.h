#pragma once
// A test fixture that switches the process to a comma-decimal locale for one test (building
// the locale when the system has none installed), for tests that parsing and formatting
// never depend on it.

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <locale>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace vantor::testing {

// glibc keeps (and never frees) its parsed LOCPATH once setlocale has used it.
struct LeakCheckPause {
#if defined(__SANITIZE_ADDRESS__)
  LeakCheckPause() { __lsan_disable(); }
  ~LeakCheckPause() { __lsan_enable(); }
#endif
};

// Switches the process to a comma-decimal locale for one test, building it when the
// system has none installed.
class CommaLocale : public ::testing::Test {
 protected:
  void SetUp() override {
    LeakCheckPause pause;
    m_saved = std::setlocale(LC_ALL, nullptr);
    if (TrySet()) return;
    const auto dir = std::filesystem::temp_directory_path() / "vantor-test-locales";
    std::filesystem::create_directories(dir);
    const std::string cmd =
        "localedef -i de_DE -f UTF-8 '" + (dir / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
    if (std::system(cmd.c_str()) >= 0) {
      setenv("LOCPATH", dir.c_str(), 1);
      if (TrySet()) return;
    }
    GTEST_SKIP() << "no comma-decimal locale available";
  }
  void TearDown() override {
    LeakCheckPause pause;
    std::setlocale(LC_ALL, m_saved.c_str());
    std::locale::global(std::locale::classic());
  }

 private:
  static bool TrySet() {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"}) {
      if (std::setlocale(LC_ALL, name) != nullptr && *std::localeconv()->decimal_point == ',') {
        try {
          std::locale::global(std::locale(name));
        } catch (...) {
        }
        return true;
      }
    }
    return false;
  }
  std::string m_saved;
};

}  // namespace vantor::testing
