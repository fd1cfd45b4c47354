#include "link/LinkTimings.h"

#include <algorithm>

namespace vantor {
namespace {

std::chrono::milliseconds Scale(std::chrono::milliseconds v, double factor) {
  const auto scaled = static_cast<long long>(static_cast<double>(v.count()) / factor);
  return std::chrono::milliseconds(std::max<long long>(1, scaled));
}

}  // namespace

LinkTimings LinkTimings::Scaled(double factor) const {
  if (factor <= 0.0) return *this;
  LinkTimings t = *this;
  t.writeWait = Scale(writeWait, factor);
  t.readWait = Scale(readWait, factor);
  t.exchangeLimit = Scale(exchangeLimit, factor);
  t.linkErrorPause = Scale(linkErrorPause, factor);
  t.cyclePause = Scale(cyclePause, factor);
  t.workerWait = Scale(workerWait, factor);
  t.disconnectPause = Scale(disconnectPause, factor);
  return t;
}

}  // namespace vantor
