#pragma once
// Runs a scope under a German locale, where the C library writes and reads "1,5": the C
// locale and the C++ global locale both become de_DE.UTF-8 (scripts/install-deps generates
// it). Where it is missing, a C++ locale with a decimal comma stands in for the stream side
// and Real() says so. The previous locales come back at the end of the scope.

#include <clocale>
#include <locale>
#include <string>

namespace vantor::testing {

class GermanLocale {
 public:
  GermanLocale() : m_cpp(std::locale()) {
    const char* c = std::setlocale(LC_ALL, nullptr);
    m_c = c != nullptr ? c : "C";
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr) {
      m_real = true;
      std::locale::global(std::locale("de_DE.UTF-8"));
    } else {
      std::locale::global(std::locale(std::locale::classic(), new Comma));
    }
  }
  ~GermanLocale() {
    std::setlocale(LC_ALL, m_c.c_str());
    std::locale::global(m_cpp);
  }
  GermanLocale(const GermanLocale&) = delete;
  GermanLocale& operator=(const GermanLocale&) = delete;

  bool Real() const { return m_real; }

 private:
  struct Comma : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
  };

  std::string m_c;
  std::locale m_cpp;
  bool m_real = false;
};

}  // namespace vantor::testing
