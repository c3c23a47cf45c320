lab_core_sources(
  Comfun.cpp
)
lab_ui_sources(
  Unit1.cpp
)
