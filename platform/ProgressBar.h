// TProgressBar: the progress bar of the current file.
//
// A position outside the range shows as the nearer end of the range (Qt's own bar would
// ignore it), and an empty range (0 to 0) shows an empty bar rather than a busy one.
// Owned by its Qt parent; interface thread only.
#pragma once

#include <QProgressBar>

namespace marlovent::platform {

class TProgressBar final : public QProgressBar {
 public:
  using QProgressBar::QProgressBar;

  void SetPosition(int Position);

 protected:
  void paintEvent(QPaintEvent* Event) override;
};

}  // namespace marlovent::platform
