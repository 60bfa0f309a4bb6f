#include "app/panel_palette.h"

#include <QWidget>

namespace didod {

QPalette PanelPalette() {
  const QColor panel(240, 240, 240);
  const QColor black(0, 0, 0);
  const QColor white(255, 255, 255);
  const QColor grey(120, 120, 120);  // disabled text, still readable on the panel
  QPalette p;
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    const bool disabled = group == QPalette::Disabled;
    p.setColor(group, QPalette::Window, panel);
    p.setColor(group, QPalette::WindowText, disabled ? grey : black);
    p.setColor(group, QPalette::Base, disabled ? panel : white);
    p.setColor(group, QPalette::AlternateBase, QColor(233, 231, 227));
    p.setColor(group, QPalette::Text, disabled ? grey : black);
    p.setColor(group, QPalette::PlaceholderText, grey);
    p.setColor(group, QPalette::Button, panel);
    p.setColor(group, QPalette::ButtonText, disabled ? grey : black);
    p.setColor(group, QPalette::BrightText, white);
    p.setColor(group, QPalette::Light, white);
    p.setColor(group, QPalette::Midlight, QColor(227, 227, 227));
    p.setColor(group, QPalette::Mid, QColor(160, 160, 160));
    p.setColor(group, QPalette::Dark, QColor(160, 160, 160));
    p.setColor(group, QPalette::Shadow, QColor(105, 105, 105));
    p.setColor(group, QPalette::Highlight, disabled ? QColor(145, 145, 145) : QColor(48, 140, 198));
    p.setColor(group, QPalette::HighlightedText, white);
    p.setColor(group, QPalette::Link, QColor(0, 0, 255));
    p.setColor(group, QPalette::LinkVisited, QColor(255, 0, 255));
  }
  return p;
}

void UsePanelPalette(QWidget* widget) { widget->setPalette(PanelPalette()); }

}  // namespace didod
