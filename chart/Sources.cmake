# Sources of this folder: lab_core_sources(...) and lab_ui_sources(...)
lab_core_sources(
  Keeper.cpp
  DiagramGeometry.cpp
  SeriesDrawing.cpp
  ExtremesPyramid.cpp
  GraphData.cpp
)
lab_ui_sources(
  Diagram.cpp
)
