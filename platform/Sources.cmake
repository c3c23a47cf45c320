lab_ui_sources(
  Application.cpp
  MessageBox.cpp
  Modal.cpp
  Cursor.cpp
  Window.cpp
  Jpeg.cpp
  Forms.cpp
  SignalQuit.cpp
)
# Drawing: canvas and picture, the image control, clipboard, bitmap files, whole-file
# writing, save dialog.
lab_ui_sources(
  Canvas.cpp
  Image.cpp
  Clipboard.cpp
  Bmp.cpp
  FileWrite.cpp
  FileNames.cpp
  SaveDialog.cpp
  UpDown.cpp
)
