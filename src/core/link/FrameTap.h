#pragma once
// A look at every frame on the wire, for traces. Called on the worker thread.

#include <cstdint>
#include <functional>
#include <span>

namespace vantor {

enum class FrameDirection { kSent, kReceived };

using FrameTap = std::function<void(FrameDirection, std::span<const std::uint8_t> frame)>;

}  // namespace vantor
