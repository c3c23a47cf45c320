# The program that draws the stored pictures: build/drawassets assets/
lab_tool_sources(
  drawassets.cpp
  DrawKit.cpp
  DrawBench.cpp
  DrawTitle.cpp
  DrawIcon.cpp
  DrawCircuits.cpp
  JpegWrite.cpp
)
