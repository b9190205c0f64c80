#include "report/linkhook.h"

#include "platform/desktop.h"
#include "report/weblinks.h"

#include <QMouseEvent>
#include <QPointer>
#include <QTextEdit>

namespace {

class UrlLinkFilter final : public QObject {
public:
  UrlLinkFilter(QTextEdit &richText, QWidget &parent) : QObject(&parent), m_richText(&richText)
  {
    richText.viewport()->installEventFilter(this);
  }

  void remove()
  {
    if (m_richText)
      m_richText->viewport()->removeEventFilter(this);
  }

  bool eventFilter(QObject *watched, QEvent *event) override
  {
    if (event->type() == QEvent::MouseButtonPress && m_richText &&
        watched == m_richText->viewport()) {
      const auto *press = static_cast<QMouseEvent *>(event);
      if (press->button() == Qt::LeftButton) {
        const QString anchor = m_richText->anchorAt(press->position().toPoint());
        if (const auto address = WebLinkAddress(anchor))
          desktop().openUrl(*address);
      }
    }
    return false;
  }

private:
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
