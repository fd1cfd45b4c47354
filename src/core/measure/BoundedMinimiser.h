#pragma once
// A smooth function minimised within bounds, by NLopt's L-BFGS (through its C interface,
// which reports failures as codes rather than exceptions).

#include <functional>
#include <span>
#include <vector>

namespace vantor {

// Value at x; when `gradient` is not empty, its partial derivatives are written there.
using SmoothFunction = std::function<double(std::span<const double> x, std::span<double> gradient)>;

struct MinimiseLimits {
  int maxEvaluations = 200;
  double relativeTolerance = 1e-7;  // of the function value, between iterations
};

// Improves x in place within [lower, upper] (all of x's size). Returns the value at the
// returned x; x is never left worse than it came in (a failed run leaves it unchanged).
double MinimiseWithinBounds(const SmoothFunction& f, std::vector<double>& x,
                            const std::vector<double>& lower, const std::vector<double>& upper,
                            const MinimiseLimits& limits);

}  // namespace vantor
