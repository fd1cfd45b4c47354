#include "text/GbkCodec.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace vantor {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// One conversion descriptor per call: iconv state is per descriptor, so calls from
// different threads never share one.
class Iconv {
 public:
  Iconv(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
  ~Iconv() {
    if (Ok()) iconv_close(m_cd);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;

  bool Ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

  // Converts in; on an invalid or incomplete sequence stops and, when lossy, appends the
  // replacement, skips one byte and goes on; otherwise fails.
  std::optional<std::string> Run(std::string_view in, bool lossy) {
    if (!Ok()) return std::nullopt;
    std::vector<char> src(in.begin(), in.end());
    std::string out;
    char* inPtr = src.data();
    std::size_t inLeft = src.size();
    std::vector<char> buf(4 * in.size() + 16);
    while (inLeft > 0) {
      char* outPtr = buf.data();
      std::size_t outLeft = buf.size();
      const std::size_t r = iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft);
      out.append(buf.data(), static_cast<std::size_t>(outPtr - buf.data()));
      if (r != static_cast<std::size_t>(-1)) continue;
      if (errno == E2BIG) continue;
      if (!lossy) return std::nullopt;
      // EILSEQ or EINVAL: skip the offending byte.
      out.append(kReplacement);
      ++inPtr;
      --inLeft;
      iconv(m_cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
    }
    // Flush any shift state (none for these encodings, but harmless).
    char* outPtr = buf.data();
    std::size_t outLeft = buf.size();
    if (iconv(m_cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<std::size_t>(-1) &&
        !lossy) {
      return std::nullopt;
    }
    out.append(buf.data(), static_cast<std::size_t>(outPtr - buf.data()));
    return out;
  }

 private:
  iconv_t m_cd;
};

bool IsGbkLead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

}  // namespace

std::optional<std::string> Utf8ToGbk(std::string_view utf8) {
  Iconv cv("GBK", "UTF-8");
  return cv.Run(utf8, false);
}

std::optional<std::string> GbkToUtf8(std::string_view gbk) {
  Iconv cv("UTF-8", "GBK");
  return cv.Run(gbk, false);
}

std::string GbkToUtf8Lossy(std::string_view gbk) {
  Iconv cv("UTF-8", "GBK");
  if (auto s = cv.Run(gbk, true)) return *s;
  // No converter at all: keep what is plain ASCII and mark the rest.
  std::string out;
  for (char ch : gbk) {
    if (static_cast<unsigned char>(ch) < 0x80) {
      out.push_back(ch);
    } else {
      out.append(kReplacement);
    }
  }
  return out;
}

std::size_t GbkFitLength(std::string_view gbk, std::size_t maxBytes) {
  std::size_t at = 0;
  while (at < gbk.size()) {
    const auto c = static_cast<unsigned char>(gbk[at]);
    // A lead byte with nothing after it is half a character: it never fits.
    const std::size_t width = IsGbkLead(c) ? 2 : 1;
    if (at + width > maxBytes || at + width > gbk.size()) break;
    at += width;
  }
  return at;
}

}  // namespace vantor
