// Fuzzes the filter arguments of `vantorctl curve`: any words as filters. What is accepted
// gives a finite response at every grid point; what is refused says why.
//
// Input layout: filters separated by spaces or new lines.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/CurveCommand.h"
#include "cli/FilterArg.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 1024) return 0;
  std::vector<std::string> words(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == ' ' || data[i] == '\n') {
      words.emplace_back();
    } else {
      words.back().push_back(static_cast<char>(data[i]));
    }
  }
  std::vector<vantor::cli::FilterArg> filters;
  for (const std::string& word : words) {
    std::string error;
    const auto filter = vantor::cli::ParseFilterArg(word, error);
    if (!filter) {
      if (error.empty()) std::abort();
      return 0;
    }
    filters.push_back(*filter);
    if (filters.size() > 8) return 0;
  }
  for (double db : vantor::cli::SumFilters(filters)) {
    if (!std::isfinite(db)) std::abort();
  }
  return 0;
}
