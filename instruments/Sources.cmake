lab_core_sources(
  Density.cpp
  Correlometer.cpp
)
