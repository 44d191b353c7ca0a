#include "platform/ProgressBar.h"

#include <QStyleOptionProgressBar>
#include <QStylePainter>
#include <algorithm>

namespace marlovent::platform {

void TProgressBar::SetPosition(int Position) {
  setValue(std::clamp(Position, minimum(), std::max(minimum(), maximum())));
}

void TProgressBar::paintEvent(QPaintEvent* Event) {
  if (minimum() != maximum()) {
    QProgressBar::paintEvent(Event);
    return;
  }
  QStylePainter Painter(this);
  QStyleOptionProgressBar Option;
  initStyleOption(&Option);
  Option.minimum = 0;
  Option.maximum = 1;
  Option.progress = 0;
  Painter.drawControl(QStyle::CE_ProgressBar, Option);
}

}  // namespace marlovent::platform
