#pragma once

// A speech bubble: a rounded box in the window's base colour with a tail
// pointing to whoever speaks, from the box's leading side or its top. It
// holds any content in its layout.

#include <QWidget>

class QBoxLayout;

namespace snoozlet::views {

enum class BubbleTail { leading, top };

class SpeechBubble : public QWidget {
  Q_OBJECT

 public:
  explicit SpeechBubble(BubbleTail tail, QWidget* parent = nullptr);

  BubbleTail tail() const { return tail_; }
  // Where the content goes.
  QBoxLayout* contentLayout() const { return layout_; }
  // Where along its side the tail sits, from the top (leading) or the left (top).
  void setTailOffset(int offset);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  BubbleTail tail_;
  int tailOffset_ = 28;
  QBoxLayout* layout_;
};

}  // namespace snoozlet::views
