#include "platform/placement.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

QMargins frameOf(const QWidget &window)
{
  const QWindow *handle = window.windowHandle();
  return handle ? handle->frameMargins() : QMargins();
}

// The frame of any framed window of the program: the window manager frames
// them all alike.
QMargins knownFrame()
{
  for (const QWidget *window : QApplication::topLevelWidgets()) {
    if (!window->isVisible())
      continue;
    const QMargins frame = frameOf(*window);
    if (!frame.isNull())
      return frame;
  }
  return {};
}

void moveToCentre(QWidget &window, const QMargins &frame)
{
  const QScreen *screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
  if (!screen)
    return;
  QRect whole(QPoint(), window.size().grownBy(frame));
  whole.moveCenter(screen->availableGeometry().center());
  // A window's position is that of its frame.
  window.move(whole.topLeft());
}

// Centres a window again once its own frame is known, if it was placed
// without knowing it.
class FrameWatcher final : public QObject {
public:
  FrameWatcher(QWidget &window, const QMargins &assumed)
      : QObject(window.windowHandle()), m_window(window), m_assumed(assumed)
  {
    window.windowHandle()->installEventFilter(this);
  }

  bool eventFilter(QObject *watched, QEvent *event) override
  {
    if (event->type() == QEvent::Expose) {
      const QMargins frame = frameOf(m_window);
      if (frame != m_assumed)
        moveToCentre(m_window, frame);
      watched->removeEventFilter(this);
      deleteLater();
    }
    return false;
  }

private:
  QWidget &m_window;
  QMargins m_assumed;
};

} // namespace

void centreOnScreen(QWidget &window)
{
  window.adjustSize();
  const QMargins frame = knownFrame();
  moveToCentre(window, frame);
  if (frame.isNull()) {
    window.winId();
    new FrameWatcher(window, frame);
  }
}

int runModal(QDialog &dialog, QWidget *owner)
{
  if (!owner) {
    centreOnScreen(dialog);
    QTimer::singleShot(0, &dialog, [&dialog] {
      dialog.raise();
      dialog.activateWindow();
    });
  }
  return dialog.exec();
}
