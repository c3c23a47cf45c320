lab_core_sources(
  Messages.cpp
  SampleStore.cpp
  Mathlib.cpp
  Interp.cpp
  Simd.cpp
  Generator.cpp
  Circuit.cpp
  Run.cpp
  Parallel.cpp
  Fft.cpp
  FftKernelsPlain.cpp
)
lab_core_simd_sources(FLAGS -mavx2 FILES NoiseKernelsAvx2.cpp FftKernelsAvx2.cpp)
lab_core_simd_sources(FLAGS -mavx512f -mavx512dq -mavx512vl -Wno-maybe-uninitialized FILES NoiseKernelsAvx512.cpp FftKernelsAvx512.cpp)
lab_ui_sources(
  Unitgenerator.cpp
  Unitnlcircuit.cpp
  Unitturn.cpp
  Fft0unit.cpp
)
