#include "config.h"
#include "core/signtable.h"
#include "core/webpages.h"
#include "support/windowtest.h"
#include "ui/linklabel.h"
#include "ui/referafriend.h"
#include "ui/windows/frmAbout.h"
#include "ui/windows/frmAustralianAstrologyResult.h"
#include "ui/windows/frmMain.h"
#include "ui/windows/frmNagScreen2.h"
#include "ui/windows/frmSave.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QTextEdit>
#include <QtTest>

#include <functional>
#include <optional>

namespace {

// What a screen reader is told about one control.
struct Heard {
  QAccessibleInterface *iface;
  QString name;
  QAccessible::Role role;
};

// The role a control a user can act on must have; nothing for the rest.
std::optional<QAccessible::Role> expectedRole(QObject *object)
{
  if (qobject_cast<LinkLabel *>(object))
    return QAccessible::Link;
  if (auto *button = qobject_cast<QPushButton *>(object))
    return button->isCheckable() ? QAccessible::CheckBox : QAccessible::Button;
  if (qobject_cast<QLineEdit *>(object) || qobject_cast<QTextEdit *>(object) ||
      qobject_cast<QPlainTextEdit *>(object))
    return QAccessible::EditableText;
  if (qobject_cast<QComboBox *>(object))
    return QAccessible::ComboBox;
  if (auto *action = qobject_cast<QAction *>(object))
    return action->isSeparator() ? std::nullopt : std::make_optional(QAccessible::MenuItem);
  return std::nullopt;
}

// Every interface under the given one, menus included, in the reader's order.
void collect(QAccessibleInterface *iface, QList<Heard> &heard)
{
  heard.append({iface, iface->text(QAccessible::Name), iface->role()});
  for (int at = 0; at < iface->childCount(); ++at) {
    if (QAccessibleInterface *child = iface->child(at))
      collect(child, heard);
  }
}

QSet<QString> codeNames(const Form &window)
{
  QSet<QString> names{window.objectName()};
  for (const QObject *object : window.findChildren<QObject *>()) {
    if (!object->objectName().isEmpty())
      names.insert(object->objectName());
  }
  return names;
}

QString describe(const Heard &control)
{
  return QStringLiteral("%1 \"%2\" (role %3)")
      .arg(control.iface->object() ? control.iface->object()->objectName() : QString(),
           control.name)
      .arg(int(control.role), 0, 16);
}

QAccessibleInterface *accessibleOf(QObject *object)
{
  return QAccessible::queryAccessibleInterface(object);
}

void press(QObject *object)
{
  QAccessibleActionInterface *actions = accessibleOf(object)->actionInterface();
  QVERIFY(actions);
  QVERIFY2(actions->actionNames().contains(QAccessibleActionInterface::pressAction()),
           qPrintable(actions->actionNames().join(',')));
  actions->doAction(QAccessibleActionInterface::pressAction());
}

} // namespace

// What a screen reader hears of each window: every control a user can act on
// is named from what the user reads, never by its code name, and has the role
// that says how to act on it; a link pressed by the reader does what a click
// does.
class AccessibilityTest : public WindowTest {
  Q_OBJECT


private slots:
  void everyControlIsNamedAsSeenWithItsRole_data()
  {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("description");
    const auto row = [](const char *name, const char *window, const char *description) {
      QTest::newRow(name) << QString::fromLatin1(window) << QString::fromLatin1(description);
    };
    row("main", "frmMain", "Main window");
    row("result", "frmAustralianAstrologyResult", "Result window");
    row("reading", "frmSave", "Reading window");
    row("about", "frmAbout", "About window");
    row("closing", "frmNagScreen2", "Closing screen");
  }

  void everyControlIsNamedAsSeenWithItsRole()
  {
    QFETCH(QString, window);
    QFETCH(QString, description);
    Form &form = openWindow(window, QStringLiteral("October"));
    QAccessibleInterface *top = accessibleOf(&form);
    QCOMPARE(top->role(), QAccessible::Window);
    QCOMPARE(top->text(QAccessible::Name), WindowTitle);
    QVERIFY2(top->text(QAccessible::Description).startsWith(description),
             qPrintable(top->text(QAccessible::Description)));

    QList<Heard> heard;
    collect(top, heard);
    const QSet<QString> hidden = codeNames(form);
    QStringList faults;
    int interactive = 0;
    for (const Heard &control : heard) {
      if (hidden.contains(control.name))
        faults << "code name heard: " + describe(control);
      const auto role = expectedRole(control.iface->object());
      if (role) {
        ++interactive;
        if (control.name.trimmed().isEmpty())
          faults << "no name: " + describe(control);
        if (control.name.contains(QLatin1Char('&')))
          faults << "access key mark heard: " + describe(control);
        if (control.role != *role)
          faults << "wrong role: " + describe(control);
      } else if (qobject_cast<QLabel *>(control.iface->object())) {
        // Captions and pictures are read, never pressed.
        const QAccessibleActionInterface *actions = control.iface->actionInterface();
        if (control.iface->state().focusable || (actions && !actions->actionNames().isEmpty()))
          faults << "a plain caption or picture offers an action: " + describe(control);
      }
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    QVERIFY(interactive >= 3);
  }

  void boxesAreNamedByTheirCaptions()
  {
    auto &main = static_cast<frmMain &>(openWindow(QStringLiteral("frmMain"), QStringLiteral("October")));
    QCOMPARE(accessibleOf(main.txtName)->text(QAccessible::Name), QStringLiteral("Name"));
    // The month box is read with its chosen month, labelled by its caption
    // (and by its frame's).
    QStringList labels;
    for (const auto &relation : accessibleOf(main.cboMonth)->relations(QAccessible::Label))
      labels << relation.first->text(QAccessible::Name);
    QVERIFY2(labels.contains(QStringLiteral("Birth Month")), qPrintable(labels.join(',')));

    auto &closing = Forms::get<frmNagScreen2>();
    closing.Frame2->txtFriendName->setText(QStringLiteral("Bob"));
    QCOMPARE(accessibleOf(closing.Frame2->txtFriendName)->text(QAccessible::Name),
             QStringLiteral("Friend's Name"));
    QCOMPARE(accessibleOf(closing.Frame2->txtMessage)->text(QAccessible::Name),
             QStringLiteral("Your Message"));
  }

  // The focus stays on Back, so the window itself says the reading.
  void theResultWindowIsDescribedByItsReading()
  {
    Form &result = openWindow(QStringLiteral("frmAustralianAstrologyResult"), QStringLiteral("October"));
    QCOMPARE(accessibleOf(&result)->text(QAccessible::Description),
             "Result window. Sun Sign. DIBBLER. " +
                 SignDescription(QStringLiteral("Dibbler")).simplified());
  }

  // A reader reads the chosen month as the list's text, each letter where
  // the list draws it; e2e-screen-reader.sh hears it follow the keyboard.
  void theMonthListShowsItsMonthAsText()
  {
    auto &main = static_cast<frmMain &>(openWindow(QStringLiteral("frmMain"), QStringLiteral("October")));
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QAccessibleInterface *list = accessibleOf(main.cboMonth);
    QAccessibleTextInterface *text = list->textInterface();
    QVERIFY(text);
    QCOMPARE(text->text(0, text->characterCount()), QStringLiteral("January"));
    const QRect shown(main.cboMonth->mapToGlobal(QPoint()), main.cboMonth->size());
    QVERIFY(shown.contains(text->characterRect(0)));
    QVERIFY(text->characterRect(1).left() >= text->characterRect(0).right());
    QCOMPARE(text->offsetAtPoint(text->characterRect(2).center()), 2);

    main.cboMonth->setCurrentIndex(11);
    QCOMPARE(text->text(0, text->characterCount()), QStringLiteral("December"));
    QCOMPARE(list->text(QAccessible::Name), QStringLiteral("December"));
    QCOMPARE(list->child(0)->childCount(), 12);
  }

  void aPressedLinkDoesWhatAClickDoes()
  {
    const QList<Form *> windows{&openWindow(QStringLiteral("frmNagScreen2"), QStringLiteral("October")),
                                Forms::find<frmAustralianAstrologyResult>(),
                                &Forms::get<frmAbout>(), &Forms::get<frmSave>()};
    int links = 0;
    for (Form *window : windows) {
      for (LinkLabel *link : window->findChildren<LinkLabel *>()) {
        scripted->openedUrls.clear();
        QTest::mouseClick(link, Qt::LeftButton);
        press(link);
        QCOMPARE(scripted->openedUrls.size(), 2);
        QVERIFY2(scripted->openedUrls.at(0) == scripted->openedUrls.at(1),
                 qPrintable(link->objectName()));
        ++links;
      }
    }
    QCOMPARE(links, 9);

    scripted->openedUrls.clear();
    press(Forms::find<frmAustralianAstrologyResult>()->Label61);
    QCOMPARE(scripted->openedUrls, QStringList{PageAddress(PageKey::Home)});
  }

  void theVisitCheckBoxToggledByAReaderOpensTheSiteAndClears()
  {
    auto &closing = static_cast<frmNagScreen2 &>(openWindow(QStringLiteral("frmNagScreen2"), QStringLiteral("October")));
    QAccessibleInterface *check = accessibleOf(closing.Check1);
    QVERIFY(check->state().checkable);
    for (int time = 1; time <= 2; ++time) {
      check->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
      QCOMPARE(scripted->openedUrls.size(), time);
      QVERIFY(!closing.Check1->isChecked());
      QVERIFY(!check->state().checked);
    }
    QCOMPARE(scripted->openedUrls.constLast(), PageAddress(PageKey::Home));
  }

  void onlyTheOfferInFrontIsThereForTheReader()
  {
    auto &main = static_cast<frmMain &>(openWindow(QStringLiteral("frmMain"), QStringLiteral("October")));
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QVERIFY(!accessibleOf(main.lblFullBrand)->state().invisible);
    QVERIFY(accessibleOf(main.lblCobrand)->state().invisible);
    main.lblCobrand->raise();
    QVERIFY(!accessibleOf(main.lblCobrand)->state().invisible);
    QVERIFY(accessibleOf(main.lblFullBrand)->state().invisible);
  }
};

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
