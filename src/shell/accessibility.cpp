#include "shell/accessibility.h"

#include "shell/form.h"
#include "shell/linklabel.h"

#include <QAccessibleWidget>

namespace {

class WindowAccessible : public QAccessibleWidget {
public:
  explicit WindowAccessible(QWidget *window) : QAccessibleWidget(window, QAccessible::Window) {}
};

class LinkAccessible : public QAccessibleWidget {
public:
  explicit LinkAccessible(LinkLabel *link) : QAccessibleWidget(link, QAccessible::Link) {}

  QString text(QAccessible::Text kind) const override
  {
    if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
      return link()->text();
    return QAccessibleWidget::text(kind);
  }

  QAccessible::State state() const override
  {
    QAccessible::State state = QAccessibleWidget::state();
    state.linked = true;
    // The two offers share one place and only the one in front is seen: the
    // one behind is not there for the reader either.
    if (link()->isVisible() && link()->visibleRegion().isEmpty())
      state.invisible = true;
    return state;
  }

  QStringList actionNames() const override
  {
    return QStringList{pressAction()} + QAccessibleWidget::actionNames();
  }

  void doAction(const QString &action) override
  {
    if (action == pressAction())
      link()->press();
    else
      QAccessibleWidget::doAction(action);
  }

private:
  LinkLabel *link() const { return static_cast<LinkLabel *>(widget()); }
};

QAccessibleInterface *programWidgets(const QString &className, QObject *object)
{
  if (className == QLatin1String("LinkLabel"))
    return new LinkAccessible(static_cast<LinkLabel *>(object));
  if (className == QLatin1String("Form"))
    return new WindowAccessible(static_cast<Form *>(object));
  return nullptr;
}

} // namespace

namespace Accessibility {

void install()
{
  static const bool installed = [] {
    QAccessible::installFactory(programWidgets);
    return true;
  }();
  Q_UNUSED(installed)
}

QString withoutAccessKey(const QString &caption)
{
  QString plain;
  plain.reserve(caption.size());
  for (qsizetype at = 0; at < caption.size(); ++at) {
    // "&&" is a written ampersand; a single & marks the access key.
    if (caption.at(at) == QLatin1Char('&') && ++at == caption.size())
      break;
    plain.append(caption.at(at));
  }
  return plain;
}

} // namespace Accessibility
