#pragma once

#include <QColor>
#include <QPalette>

namespace mirel::testing {

/// A complete dark palette, for the dark looks of windows, dialogs and views.
[[nodiscard]] inline QPalette darkPalette() {
  QPalette p;
  const QColor window(30, 30, 32), base(22, 22, 24), text(235, 235, 240);
  p.setColor(QPalette::Window, window);
  p.setColor(QPalette::WindowText, text);
  p.setColor(QPalette::Base, base);
  p.setColor(QPalette::AlternateBase, window);
  p.setColor(QPalette::Text, text);
  p.setColor(QPalette::Button, QColor(52, 52, 56));
  p.setColor(QPalette::ButtonText, text);
  p.setColor(QPalette::Highlight, QColor(10, 132, 255));
  p.setColor(QPalette::HighlightedText, Qt::white);
  p.setColor(QPalette::ToolTipBase, window);
  p.setColor(QPalette::ToolTipText, text);
  p.setColor(QPalette::PlaceholderText, QColor(140, 140, 148));
  p.setColor(QPalette::Light, QColor(70, 70, 74));
  p.setColor(QPalette::Midlight, QColor(60, 60, 64));
  p.setColor(QPalette::Mid, QColor(44, 44, 48));
  p.setColor(QPalette::Dark, QColor(16, 16, 18));
  p.setColor(QPalette::Shadow, Qt::black);
  p.setColor(QPalette::Disabled, QPalette::Text, QColor(110, 110, 116));
  p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(110, 110, 116));
  return p;
}

}  // namespace mirel::testing
