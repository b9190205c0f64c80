#include "ui/linkhook.h"

#include "core/weblinks.h"
#include "platform/desktop.h"

#include <QMouseEvent>
#include <QPointer>
#include <QTextEdit>

#include <optional>

namespace {

class UrlLinkFilter final : public QObject {
public:
  UrlLinkFilter(QTextEdit &richText, QWidget &parent) : QObject(&parent), m_richText(&richText)
  {
    richText.viewport()->setMouseTracking(true);
    richText.viewport()->installEventFilter(this);
  }

  void remove()
  {
    if (m_richText)
      m_richText->viewport()->removeEventFilter(this);
  }

  bool eventFilter(QObject *watched, QEvent *event) override
  {
    // Mouse events come only from a live control. Others still reach the hook
    // while its window is destroyed without an unload, when the control is no
    // longer a QTextEdit and must not be looked at as one.
    if (event->type() != QEvent::MouseMove && event->type() != QEvent::MouseButtonPress)
      return false;
    if (!m_richText || watched != m_richText->viewport())
      return false;
    if (event->type() == QEvent::MouseMove) {
      // The hand over what a press opens, the text cursor over the rest.
      const auto *move = static_cast<QMouseEvent *>(event);
      m_richText->viewport()->setCursor(linkAt(move->position()) ? Qt::PointingHandCursor
                                                                 : Qt::IBeamCursor);
    } else {
      const auto *press = static_cast<QMouseEvent *>(event);
      if (press->button() == Qt::LeftButton) {
        if (const auto address = linkAt(press->position()))
          desktop().openUrl(*address);
      }
    }
    return false;
  }

private:
  std::optional<QString> linkAt(const QPointF &position) const
  {
    return WebLinkAddress(m_richText->anchorAt(position.toPoint()));
  }

  QPointer<QTextEdit> m_richText;
};

QPointer<UrlLinkFilter> currentHook;

} // namespace

void EnableUrlLinks(QTextEdit &richText, QWidget &parent)
{
  DisableUrlLinks();
  currentHook = new UrlLinkFilter(richText, parent);
}

void DisableUrlLinks()
{
  if (!currentHook)
    return;
  currentHook->remove();
  delete currentHook;
}
