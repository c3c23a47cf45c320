lab_core_sources(
  EditFloatRules.cpp
)
lab_ui_sources(
  Unit1.cpp
  Editfloatunit.cpp
)
