#pragma once

#include <QLabel>

// A caption that acts on a single click of the left button, as the program's
// links and promotional captions do. Assistive technology sees a link named by
// its caption, which it can press.
class LinkLabel : public QLabel {
  Q_OBJECT
public:
  explicit LinkLabel(QWidget *parent = nullptr);

  // The links show the hand pointer; a few captions keep the arrow.
  void setHandPointer(bool hand);

  // What a click does, for a screen reader's press.
  void press() { emit clicked(); }

signals:
  void clicked();

protected:
  void mousePressEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;

private:
  bool m_pressed = false;
};
