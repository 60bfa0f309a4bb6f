#pragma once
#include <QIcon>
#include <QString>

namespace didod {

// Loads a tool-button glyph by its resource name ("_01", "_05", ...); the colour
// of its bottom-left pixel becomes transparent. A missing glyph gives an empty icon.
QIcon LoadGlyph(const QString& name);

}  // namespace didod
