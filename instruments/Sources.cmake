# Sources of this folder: lab_core_sources(...) and lab_ui_sources(...)
lab_core_sources(
  Density.cpp
  Correlometer.cpp
)
lab_ui_sources(
  Unitipv.cpp
  Unitkor.cpp
  Unitind.cpp
  Unitgist.cpp
)
