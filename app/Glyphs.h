#pragma once
// The glyphs of the tool buttons, drawn at run time so they stay sharp at any size.
#include <QIcon>

enum class Glyph { Save, Copy, Run, Scale, Exit };

QIcon GlyphIcon(Glyph glyph);
