#include "bench/RatioReporter.h"

#include <cstdio>

namespace benchratio {
namespace {
std::map<std::string, std::string>& References() {
  static std::map<std::string, std::string> refs;
  return refs;
}
std::map<std::string, double>& Allowances() {
  static std::map<std::string, double> allowances;
  return allowances;
}
}  // namespace

void SetReference(const std::string& group, const std::string& variant) {
  References()[group] = variant;
}

void SetAllowance(const std::string& group, double ms) {
  Allowances()[group] = ms;
}

void Reporter::ReportRuns(const std::vector<Run>& runs) {
  ConsoleReporter::ReportRuns(runs);
  for (const Run& r : runs) {
    if (r.error_occurred) continue;
    const bool median = r.run_type == Run::RT_Aggregate && r.aggregate_name == "median";
    if (r.run_type != Run::RT_Iteration && !median) continue;
    const std::string name = r.run_name.function_name;
    const size_t slash = name.find('/');
    if (slash == std::string::npos) continue;
    const std::string group = name.substr(0, slash);
    const std::string variant = name.substr(slash + 1);
    Time& t = times_[{group, r.run_name.args}][variant];
    if (t.median && !median) continue;
    const double toMs = 1e3 / benchmark::GetTimeUnitMultiplier(r.time_unit);
    t = {r.GetAdjustedRealTime() * toMs, r.GetAdjustedCPUTime() * toMs, median};
  }
}

void Reporter::Finalize() {
  ConsoleReporter::Finalize();
  std::printf("\nRatios to the reference measured in this run (lower is faster):\n");
  for (const auto& [key, variants] : times_) {
    const auto ref = References().find(key.group);
    if (ref == References().end()) continue;
    const auto base = variants.find(ref->second);
    if (base == variants.end() || base->second.ms <= 0) continue;
    const auto allowance = Allowances().find(key.group);
    for (const auto& [variant, t] : variants) {
      if (variant == ref->second) continue;
      const double ratio = t.ms / base->second.ms;
      const double difference = t.ms - base->second.ms;
      std::printf("  %-28s %-10s %-12s / %-10s = %.4f  (%.*fx %s)  %.2f ms - %.2f ms = %+.2f ms",
                  key.group.c_str(), key.arg.c_str(), variant.c_str(), ref->second.c_str(), ratio,
                  ratio < 0.1 || ratio > 10 ? 0 : 1, ratio <= 1 ? 1 / ratio : ratio,
                  ratio <= 1 ? "faster" : "slower", t.ms, base->second.ms, difference);
      if (allowance != Allowances().end())
        std::printf("  %s %.0f ms", difference <= allowance->second ? "within" : "OVER",
                    allowance->second);
      std::printf("  (processor: %.2f ms - %.2f ms = %+.2f ms)\n", t.cpuMs, base->second.cpuMs,
                  t.cpuMs - base->second.cpuMs);
    }
  }
  std::fflush(stdout);
}

}  // namespace benchratio
