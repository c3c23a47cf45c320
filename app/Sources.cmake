lab_ui_sources(
  Unit1.cpp
)
