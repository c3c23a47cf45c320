lab_ui_sources(
  MessageBox.cpp
  Modal.cpp
  Cursor.cpp
  Forms.cpp
  JpegFallback.cpp
)
