#include "measure/BoundedMinimiser.h"

#include <nlopt.h>

#include <algorithm>
#include <memory>

namespace vantor {
namespace {

struct Call {
  const SmoothFunction* f;
};

double Trampoline(unsigned n, const double* x, double* gradient, void* data) {
  const auto* call = static_cast<const Call*>(data);
  return (*call->f)(std::span<const double>(x, n),
                    gradient != nullptr ? std::span<double>(gradient, n) : std::span<double>());
}

struct OptDeleter {
  void operator()(nlopt_opt opt) const { nlopt_destroy(opt); }
};

}  // namespace

double MinimiseWithinBounds(const SmoothFunction& f, std::vector<double>& x,
                            const std::vector<double>& lower, const std::vector<double>& upper,
                            const MinimiseLimits& limits) {
  for (std::size_t i = 0; i < x.size(); ++i) x[i] = std::clamp(x[i], lower[i], upper[i]);
  const double start = f(x, {});
  if (x.empty()) return start;
  const auto n = static_cast<unsigned>(x.size());
  std::unique_ptr<nlopt_opt_s, OptDeleter> opt(nlopt_create(NLOPT_LD_LBFGS, n));
  if (!opt) return start;
  Call call{&f};
  nlopt_set_lower_bounds(opt.get(), lower.data());
  nlopt_set_upper_bounds(opt.get(), upper.data());
  nlopt_set_min_objective(opt.get(), Trampoline, &call);
  nlopt_set_maxeval(opt.get(), limits.maxEvaluations);
  nlopt_set_ftol_rel(opt.get(), limits.relativeTolerance);
  std::vector<double> trial = x;
  double value = start;
  const nlopt_result result = nlopt_optimize(opt.get(), trial.data(), &value);
  // A run stopped by its evaluation budget or by round-off still holds its best point.
  if (result < 0 && result != NLOPT_ROUNDOFF_LIMITED) return start;
  if (!(value < start)) return start;
  x = trial;
  return value;
}

}  // namespace vantor
