lab_core_sources(
  Density.cpp
  Correlometer.cpp
  Characteristic.cpp
  Histogram.cpp
  SignalLaw.cpp
  ExpectedHistogram.cpp
  CorrelationFunction.cpp
  CorrelationKernelsPlain.cpp
)
lab_core_simd_sources(FLAGS -mavx2 FILES DensityAvx2.cpp CorrelationKernelsAvx2.cpp)
lab_core_simd_sources(FLAGS -mavx512f -mavx512dq -mavx512vl FILES DensityAvx512.cpp CorrelationKernelsAvx512.cpp)
lab_ui_sources(
  Unitipv.cpp
  Unitkor.cpp
  Unitind.cpp
  Unitgist.cpp
  CharacteristicGraph.cpp
  HistogramCommand.cpp
  CorrelationGraph.cpp
)
