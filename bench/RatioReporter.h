#pragma once
// Benchmarks named "<group>/<variant>[/<arg>]" are compared within their group and argument
// against a reference variant of the same run (the plain algorithm, or an outside library);
// after the usual table the reporter prints time(variant) / time(reference) for each.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace benchratio {

// Declares `variant` the reference of `group` (call before the benchmarks run).
void SetReference(const std::string& group, const std::string& variant);

class Reporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override;
  void Finalize() override;

 private:
  struct Key {
    std::string group, arg;
    bool operator<(const Key& o) const { return group != o.group ? group < o.group : arg < o.arg; }
  };
  std::map<Key, std::map<std::string, double>> times_;  // ns per iteration, by variant
};

}  // namespace benchratio
