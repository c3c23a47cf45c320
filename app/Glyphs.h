#pragma once
// The glyphs of the tool buttons and menu items, drawn at run time so they stay sharp at
// any size.
#include <QIcon>

enum class Glyph {
  // The bench.
  Save,
  Copy,
  Run,
  Scale,
  Exit,
  // The chart viewer.
  Measure,         // a cross-hair over a graph
  Limits,          // a net with up-down arrows at its edges
  RestoreLimits,   // a net with an arrow turning back
  SuspendDrawing,  // a graph struck through
  SaveBitmap,      // a diskette with a graph on its label
  SaveData,        // a diskette with a table on its label
  Close,           // a window with a red cross
};

// The glyph as an icon with sharp pictures at 16 and 20 pixels.
QIcon GlyphIcon(Glyph glyph);
