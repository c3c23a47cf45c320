#pragma once
// Benchmarks named "<group>/<variant>[/<arg>]" are compared within their group and argument
// against a reference variant of the same run (the plain algorithm, or an outside library);
// after the usual table the reporter prints time(variant) / time(reference) for each, and
// the difference in milliseconds, of the time and of the processor time (on a shared
// machine the processor time of a step stays put while its time waits for a core). With
// repetitions the medians are compared.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace benchratio {

// Declares `variant` the reference of `group` (call before the benchmarks run).
void SetReference(const std::string& group, const std::string& variant);

// Allows the variants of `group` at most `ms` milliseconds beyond the reference: the report
// says for each whether it stays within.
void SetAllowance(const std::string& group, double ms);

class Reporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override;
  void Finalize() override;

 private:
  struct Key {
    std::string group, arg;
    bool operator<(const Key& o) const { return group != o.group ? group < o.group : arg < o.arg; }
  };
  struct Time {
    double ms = 0;
    double cpuMs = 0;     // processor time (of the process, where the benchmark asks for it)
    bool median = false;  // the median of the repetitions, which no single run replaces
  };
  std::map<Key, std::map<std::string, Time>> times_;  // by variant
};

}  // namespace benchratio
