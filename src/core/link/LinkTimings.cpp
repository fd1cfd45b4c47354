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
  for (ms LinkTimings::*field :
       {&LinkTimings::fwSearchLimit, &LinkTimings::fwSearchInterval, &LinkTimings::fwWakeInterval,
        &LinkTimings::fwWakeDuration, &LinkTimings::fwWakePause, &LinkTimings::fwRestartWait,
        &LinkTimings::fwExchangeLimit, &LinkTimings::fwIdleWait, &LinkTimings::fwReadStart,
        &LinkTimings::fwReadHeader, &LinkTimings::fwReadData, &LinkTimings::fwReadEnd,
        &LinkTimings::fwReadControllerStart, &LinkTimings::fwReadControllerData,
        &LinkTimings::fwReadControllerEnd}) {
    t.*field = Scale(this->*field, factor);
  }
  return t;
}

}  // namespace vantor
