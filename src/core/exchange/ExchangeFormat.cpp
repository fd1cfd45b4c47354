#include "exchange/ExchangeFormat.h"

namespace vantor {

std::optional<ExchangeFormat> ExchangeFormatFromName(std::string_view name) {
  if (name == "rew") return ExchangeFormat::kRew;
  if (name == "eqapo") return ExchangeFormat::kEqualizerApo;
  if (name == "camilladsp") return ExchangeFormat::kCamillaDsp;
  return std::nullopt;
}

std::string_view ExchangeFormatName(ExchangeFormat format) {
  switch (format) {
    case ExchangeFormat::kRew:
      return "rew";
    case ExchangeFormat::kEqualizerApo:
      return "eqapo";
    case ExchangeFormat::kCamillaDsp:
      return "camilladsp";
  }
  return {};
}

}  // namespace vantor
