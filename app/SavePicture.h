#pragma once
// Saving the picture of an image control as a bitmap file chosen by the user.
class TImage;

// Asks for a file name ("Bitmaps (*.bmp)|*.bmp", initial name "Рисунок.bmp", overwrite
// question), corrects a wrong extension to ".bmp" with a message (asking the overwrite
// question again when the corrected file exists; declining writes nothing), and writes the
// picture at its own size as a 24-bit bitmap. A file that cannot be written gives a message
// naming it; the program goes on.
void SavePictureAsBmp(TImage& image);
