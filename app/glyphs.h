#pragma once
#include <QIcon>
#include <QImage>
#include <QString>

namespace didod {

// A tool-button glyph by its resource name ("_01", "_05", ...). At the screen's own
// resolution the icon is the bitmap itself, the colour of its bottom-left pixel made
// transparent; at any other resolution the glyph's vector drawing is rendered at the
// device's pixel size, so it stays sharp on high-density screens. Like a bitmap icon,
// the glyph keeps its own size, centred, when a larger icon is asked for, and shrinks
// to fit a smaller one. A missing glyph gives an empty icon.
QIcon LoadGlyph(const QString& name);

// The bitmap as the icon shows it at ratio 1, key colour transparent; null when missing.
QImage GlyphBitmap(const QString& name);

}  // namespace didod
