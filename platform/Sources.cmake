lab_ui_sources(
  MessageBox.cpp
  Modal.cpp
  Cursor.cpp
  Window.cpp
  Jpeg.cpp
  Forms.cpp
)
