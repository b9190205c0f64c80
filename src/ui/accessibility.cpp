#include "ui/accessibility.h"

#include "ui/linklabel.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QHash>
#include <QLabel>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionComboBox>

namespace {

QHash<const QWidget *, QList<QPointer<QLabel>>> &describingCaptions()
{
  static QHash<const QWidget *, QList<QPointer<QLabel>>> captions;
  return captions;
}

// A screen reader runs the parts together, so each ends as a sentence.
QString asSentence(const QString &text)
{
  QString sentence = text.simplified();
  if (!sentence.isEmpty() && !QStringLiteral(".!?:").contains(sentence.back()))
    sentence.append(QLatin1Char('.'));
  return sentence;
}

class WindowAccessible : public QAccessibleWidget {
public:
  explicit WindowAccessible(QWidget *window) : QAccessibleWidget(window, QAccessible::Window) {}

  QString text(QAccessible::Text kind) const override
  {
    if (kind != QAccessible::Description || !describingCaptions().contains(widget()))
      return QAccessibleWidget::text(kind);
    QStringList sentences{asSentence(widget()->accessibleDescription())};
    for (const QPointer<QLabel> &caption : describingCaptions().value(widget())) {
      if (caption)
        sentences << asSentence(caption->text());
    }
    sentences.removeAll(QString());
    return sentences.join(QLatin1Char(' '));
  }
};

// Takes a screen reader to the entry that the keyboard chose in a closed
// drop-down list, as to a new focus, though the list keeps the keyboard.
void leadReaderToChosenEntry(QComboBox *list, int index)
{
  // An open list takes the reader along by itself.
  if (index < 0 || !list->hasFocus() || list->view()->isVisible())
    return;
  QAccessibleTableInterface *entries =
      QAccessible::queryAccessibleInterface(list->view())->tableInterface();
  QAccessibleInterface *entry = entries ? entries->cellAt(index, list->modelColumn()) : nullptr;
  if (!entry)
    return;
  QAccessibleEvent focus(entry, QAccessible::Focus);
  QAccessible::updateAccessibility(&focus);
}

// Qt's own account of a drop-down list names it by its chosen entry, which a
// screen reader passes over for the caption that labels the list, and cannot
// say which entry is chosen (the bus has no selection to ask). So the chosen
// entry is also the text the list shows, and a change from the keyboard takes
// the reader to the new entry, where a reader that finds the selection goes.
class DropDownListAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
  explicit DropDownListAccessible(QComboBox *list) : QAccessibleWidget(list, QAccessible::ComboBox)
  {
    QObject::connect(list, &QComboBox::currentIndexChanged, list,
                     [list](int index) { leadReaderToChosenEntry(list, index); });
  }

  void *interface_cast(QAccessible::InterfaceType type) override
  {
    if (type == QAccessible::TextInterface)
      return static_cast<QAccessibleTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  QString text(QAccessible::Text kind) const override
  {
    if (kind == QAccessible::Value ||
        (kind == QAccessible::Name && widget()->accessibleName().isEmpty()))
      return list()->currentText();
    return QAccessibleWidget::text(kind);
  }

  QAccessible::State state() const override
  {
    QAccessible::State state = QAccessibleWidget::state();
    state.expandable = true;
    state.expanded = list()->view()->isVisible();
    return state;
  }

  int childCount() const override { return 1; }

  QAccessibleInterface *child(int index) const override
  {
    return index == 0 ? QAccessible::queryAccessibleInterface(list()->view()) : nullptr;
  }

  int indexOfChild(const QAccessibleInterface *child) const override
  {
    return child && child->object() == list()->view() ? 0 : -1;
  }

  QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }

  void doAction(const QString &action) override
  {
    if (action != showMenuAction() && action != pressAction())
      return;
    if (list()->view()->isVisible())
      list()->hidePopup();
    else
      list()->showPopup();
  }

  // The shown entry, as text that cannot be edited or selected.
  QString text(int startOffset, int endOffset) const override
  {
    return list()->currentText().mid(startOffset, endOffset - startOffset);
  }

  int characterCount() const override { return int(list()->currentText().size()); }

  QRect characterRect(int offset) const override
  {
    const QString shown = list()->currentText();
    if (offset < 0 || offset >= shown.size())
      return {};
    QStyleOptionComboBox option;
    option.initFrom(list());
    const QRect field = list()->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                        QStyle::SC_ComboBoxEditField, list());
    const QFontMetrics metrics = list()->fontMetrics();
    // Qt's styles draw the entry one pixel into the field.
    const QPoint topLeft(field.left() + 1 + metrics.horizontalAdvance(shown.left(offset)),
                         field.center().y() - metrics.height() / 2);
    return {list()->mapToGlobal(topLeft),
            QSize(metrics.horizontalAdvance(shown.at(offset)), metrics.height())};
  }

  int offsetAtPoint(const QPoint &point) const override
  {
    for (int offset = 0; offset < characterCount(); ++offset) {
      if (characterRect(offset).contains(point))
        return offset;
    }
    return -1;
  }

  int cursorPosition() const override { return 0; }
  void setCursorPosition(int /*position*/) override {}
  int selectionCount() const override { return 0; }
  void selection(int /*selectionIndex*/, int *startOffset, int *endOffset) const override
  {
    *startOffset = *endOffset = 0;
  }
  void addSelection(int /*startOffset*/, int /*endOffset*/) override {}
  void removeSelection(int /*selectionIndex*/) override {}
  void setSelection(int /*selectionIndex*/, int /*startOffset*/, int /*endOffset*/) override {}
  void scrollToSubstring(int /*startIndex*/, int /*endIndex*/) override {}

  QString attributes(int /*offset*/, int *startOffset, int *endOffset) const override
  {
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
  }

private:
  QComboBox *list() const { return static_cast<QComboBox *>(widget()); }
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
    return new WindowAccessible(static_cast<QWidget *>(object));
  // One that can be typed into keeps Qt's account, which reads its text box.
  if (className == QLatin1String("QComboBox") && !static_cast<QComboBox *>(object)->isEditable())
    return new DropDownListAccessible(static_cast<QComboBox *>(object));
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

void describeWindowBy(QWidget *window, const QList<QLabel *> &captions)
{
  QList<QPointer<QLabel>> &described = describingCaptions()[window];
  described = {captions.cbegin(), captions.cend()};
  QObject::connect(window, &QObject::destroyed, [window] { describingCaptions().remove(window); });
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
