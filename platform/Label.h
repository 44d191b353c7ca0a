// TLabel: a label that sizes itself to its text, whenever the text, the font or the style
// changes; its top-left corner stays where it is. Owned by its Qt parent. Interface
// thread only. Set the text through a TLabel pointer: QLabel::setText is not virtual.
#pragma once

#include <QEvent>
#include <QLabel>

namespace marlovent::platform {

class TLabel final : public QLabel {
 public:
  explicit TLabel(const QString& Text) : QLabel(Text) { adjustSize(); }

  void setText(const QString& Text) {
    QLabel::setText(Text);
    adjustSize();
  }

 protected:
  void changeEvent(QEvent* Event) override {
    QLabel::changeEvent(Event);
    if (Event->type() == QEvent::FontChange || Event->type() == QEvent::StyleChange) adjustSize();
  }
};

}  // namespace marlovent::platform
