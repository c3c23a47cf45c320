lab_core_sources(
  Comfun.cpp
  BenchScale.cpp
)
lab_ui_sources(
  Unit1.cpp
)
