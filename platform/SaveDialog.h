#pragma once
// Asking the user for the name of a file to save, with the platform's save dialog shown
// modally through ShowModal (so tests can script it).
#include <QString>
#include <QStringList>

class QWidget;

namespace platform {

struct SaveFileRequest {
  // Pairs of description and pattern separated by "|": "Bitmaps (*.bmp)|*.bmp".
  QString filter;
  // Extension without the point, added to a name typed without one.
  QString defaultExt;
  // The name the dialog offers first.
  QString initialName;
  // Ask before replacing an existing file (the question is the dialog's own).
  bool overwritePrompt = true;
  // Show the picture of the file under the cursor beside the list.
  bool picturePreview = false;
};

enum class SaveFileOutcome { Chosen, Cancelled, Unavailable };

// Shows the dialog; on Chosen, *fileName is the chosen name. Unavailable means the dialog
// could not be created (out of memory).
SaveFileOutcome AskSaveFileName(QWidget* owner, const SaveFileRequest& request, QString* fileName);

// The text shown when the save dialog cannot be created.
extern const char* const SaveDialogNoMemoryMessage;

// AskSaveFileName for a command that saves: true with *fileName when a name was chosen;
// when the dialog could not be created, says so (SaveDialogNoMemoryMessage) and gives false.
bool ChooseSaveFileName(QWidget* owner, const SaveFileRequest& request, QString* fileName);

// The save dialog asks before replacing the file it returns, but not before replacing the
// file of a name corrected after it closed ("keep.png" written as "keep.bmp"). This asks
// the dialog's own question for such a name: true when the file does not exist or the user
// agrees to replace it.
bool MayReplaceFile(QWidget* owner, const QString& fileName);

// The object name of the question, for tests that script it.
constexpr const char* ReplaceQuestionObjectName = "ReplaceFileQuestion";

// A file of one format is written with its extension ext (".bmp", point included). A chosen
// name with another extension gets ext, the user is told so (see CorrectFileExt) and, when a
// file of the corrected name exists, asked whether to replace it (MayReplaceFile). False when
// the user declines: nothing is to be written.
bool CorrectSaveName(QWidget* owner, QString& name, const QString& ext);

// The dialog's name filters for a "description|pattern|..." filter.
QStringList NameFiltersOf(const QString& filter);

// The object name of the dialog, for tests that script it.
constexpr const char* SaveDialogObjectName = "SavePictureDialog";

}  // namespace platform
