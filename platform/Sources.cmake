lab_ui_sources(
  MessageBox.cpp
  Modal.cpp
  Cursor.cpp
  Window.cpp
  Jpeg.cpp
  Forms.cpp
)
# Drawing: canvas and picture, the image control, clipboard, bitmap files, save dialog.
lab_ui_sources(
  Canvas.cpp
  Image.cpp
  Clipboard.cpp
  Bmp.cpp
  FileNames.cpp
  SaveDialog.cpp
  UpDown.cpp
)
