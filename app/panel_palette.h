#pragma once
#include <QPalette>

class QWidget;

namespace didod {

// The light palette the window's own areas are drawn in whatever the desktop's
// theme: black text on the 240-grey strip and panel, black text on white fields.
// Menus, tool tips and dialogs keep the theme's palette.
QPalette PanelPalette();

// Gives `widget` and everything inside it the panel palette.
void UsePanelPalette(QWidget* widget);

}  // namespace didod
