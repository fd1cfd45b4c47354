// Fuzzes the GBK codec: any bytes as UTF-8 text and as GBK bytes. Text that converts comes
// back unchanged; a cut never splits a character; nothing ever fails to show.
//
// Input layout: byte 0, bit 0: clear, the rest is UTF-8; set, the rest is GBK.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "text/GbkCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0 || size > 4096) return 0;
  const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  if ((data[0] & 1) == 0) {
    const auto gbk = vantor::Utf8ToGbk(rest);
    if (!gbk) return 0;
    const auto back = vantor::GbkToUtf8(*gbk);
    if (!back || *back != rest) std::abort();
    for (std::size_t n = 0; n <= gbk->size(); ++n) {
      const std::string_view cut = vantor::GbkCutToFit(*gbk, n);
      if (cut.size() > n || !vantor::GbkToUtf8(cut)) std::abort();
    }
    return 0;
  }
  (void)vantor::GbkToUtf8Lossy(rest);
  const auto text = vantor::GbkToUtf8(rest);
  for (std::size_t n = 0; n <= rest.size(); n += 1 + n / 8) {
    if (vantor::GbkFitLength(rest, n) > n) std::abort();
  }
  if (text && !vantor::GbkToUtf8(vantor::GbkCutToFit(rest, rest.size()))) std::abort();
  return 0;
}
