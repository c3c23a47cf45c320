#include "model/SampleStore.h"

namespace model {
int SampleCount = DefaultSampleCount;
}

namespace SampleStore {
alignas(64) double InputSamples[model::SampleCapacity];
alignas(64) double OutputSamples[model::SampleCapacity];
alignas(64) double WorkRe[model::SampleCapacity];
alignas(64) double WorkIm[model::SampleCapacity];
alignas(64) double WorkPower[model::SampleCapacity];
}  // namespace SampleStore
