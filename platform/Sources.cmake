lab_ui_sources(
  MessageBox.cpp
  Modal.cpp
  Cursor.cpp
  Jpeg.cpp
)
