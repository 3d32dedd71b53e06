// A page that scrolls when the window is smaller than it (a small screen, or 200 % scaling).
#pragma once

#include <QScrollArea>

namespace ConfigEditor {

inline QScrollArea* Scrolled(QWidget* page) {
  auto* area = new QScrollArea;
  area->setWidget(page);
  area->setWidgetResizable(true);
  area->setFrameShape(QFrame::NoFrame);
  return area;
}

}  // namespace ConfigEditor
