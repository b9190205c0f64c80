#include "config.h"
#include "core/savedreading.h"
#include "core/signtable.h"
#include "core/webpages.h"
#include "support/filefaults.h"
#include "support/goldenreadings.h"
#include "support/scripteddesktop.h"
#include "ui/linklabel.h"
#include "ui/windows/frmAustralianAstrologyResult.h"
#include "ui/windows/frmMain.h"
#include "ui/windows/frmSave.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <functional>
#include <memory>

namespace {
const Reading Tom{QStringLiteral("Tom"), QStringLiteral("May")};

frmSave &readingWindowOf(const Reading &reading)
{
  frmSave &window = Forms::get<frmSave>();
  window.setReading(reading);
  return window;
}

const Reading &shownReading() { return Forms::find<frmAustralianAstrologyResult>()->reading(); }

QPoint footerLink(frmSave &window)
{
  QTextCursor cursor(window.RTB->document());
  cursor.setPosition(static_cast<int>(window.RTB->toPlainText().indexOf(MakerSiteUrl)) + 4);
  return window.RTB->cursorRect(cursor).center();
}

void pressOnFooterLink(frmSave &window)
{
  QTest::mouseClick(window.RTB->viewport(), Qt::LeftButton, {}, footerLink(window));
}

QString shownAnimal()
{
  const auto *result = Forms::find<frmAustralianAstrologyResult>();
  return result && result->isVisible() ? result->lblResult[0]->text() : QString();
}
} // namespace

// The reading window, and the save and open commands of a reading.
class ReadingWindowTest : public QObject {
  Q_OBJECT
private slots:
  void init();
  void cleanup();
  void opensModalOverTheResultWithAFreshReport();
  void printsTheWholeReport();
  void savesTheCurrentReading();
  void offersOpenTheirPages();
  void openMakesTheSavedReadingAgain();
  void openChecksTheEndOfTheName_data();
  void openChecksTheEndOfTheName();
  void unreadableFilesAskForAName();

private:
  // File > Print in the result window; the steps run while the reading
  // window is up, then its close box is pressed.
  void openFromResult(const Reading &reading, const std::function<void(frmSave &)> &whileOpen);
  QString file(const QString &name, const QByteArray &bytes);
  frmMain &openInMainWindow(const QString &path, int preselectedMonth = 0);
  // One critical message with OK over the window that asked.
  void expectOneMessage(const QString &text, const QWidget *owner);

  std::unique_ptr<ScriptedDesktop> m_desktop;
  QTemporaryDir m_folder;
};

void ReadingWindowTest::init()
{
  m_desktop = std::make_unique<ScriptedDesktop>();
}

void ReadingWindowTest::cleanup()
{
  discardForms();
  m_desktop.reset();
}

void ReadingWindowTest::openFromResult(const Reading &reading,
                                       const std::function<void(frmSave &)> &whileOpen)
{
  bool ran = false;
  QTimer::singleShot(0, this, [&] {
    frmSave *window = Forms::find<frmSave>();
    const auto closeBox = qScopeGuard([window] {
      if (window)
        window->close();
    });
    QVERIFY(window);
    QTRY_VERIFY(window->isVisible());
    whileOpen(*window);
    ran = true;
  });
  auto &result = Forms::get<frmAustralianAstrologyResult>();
  result.setReading(reading);
  result.cmdPrint_Click();
  QVERIFY(ran);
  QVERIFY(!Forms::find<frmSave>());
}

QString ReadingWindowTest::file(const QString &name, const QByteArray &bytes)
{
  const QString path = m_folder.filePath(name);
  QFile out(path);
  if (out.open(QIODevice::WriteOnly))
    out.write(bytes);
  return path;
}

frmMain &ReadingWindowTest::openInMainWindow(const QString &path, int preselectedMonth)
{
  m_desktop->fileNames.enqueue(path);
  frmMain &window = Forms::get<frmMain>();
  window.cboMonth->setCurrentIndex(preselectedMonth);
  window.cmdOpen_Click();
  return window;
}

void ReadingWindowTest::expectOneMessage(const QString &text, const QWidget *owner)
{
  QCOMPARE(m_desktop->messageTexts(), QStringList{text});
  QCOMPARE(m_desktop->messageBoxes[0].owner, owner);
  QCOMPARE(m_desktop->messageBoxes[0].icon, MessageIcon::Critical);
  QCOMPARE(m_desktop->messageBoxes[0].buttons, MessageButtons::Ok);
  QCOMPARE(m_desktop->messageBoxes[0].title, AppTitle);
  m_desktop->messageBoxes.clear();
}

void ReadingWindowTest::opensModalOverTheResultWithAFreshReport()
{
  Forms::get<frmAustralianAstrologyResult>().showModeless();
  openFromResult(Tom, [this](frmSave &window) {
    QCOMPARE(QApplication::activeModalWidget(), &window);
    QTRY_COMPARE(QApplication::focusWidget(), window.RTB);
    QVERIFY(window.RTB->toPlainText().startsWith(QStringLiteral("Name: Tom\n")));
    QTest::keyClick(window.RTB, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), window.cmdPrint);
    QTest::keyClick(window.cmdPrint, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), window.cmdSave);
    pressOnFooterLink(window);
    QCOMPARE(m_desktop->openedUrls, QStringList{MakerSiteUrl});

    // The pointer says what a press does: open a link, or place the caret.
    QWidget *report = window.RTB->viewport();
    QTest::mouseMove(report, footerLink(window));
    QTRY_COMPARE(report->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(report, window.RTB->cursorRect(QTextCursor(window.RTB->document())).center());
    QTRY_COMPARE(report->cursor().shape(), Qt::IBeamCursor);
  });

  // Each opening writes the report of that moment's reading, and a link
  // opens once per press however often the window was opened.
  openFromResult({QStringLiteral("Ann"), QStringLiteral("May")}, [this](frmSave &window) {
    QVERIFY(window.RTB->toPlainText().startsWith(QStringLiteral("Name: Ann\n")));
    QCOMPARE(window.RTB->document()->blockCount(), 6);
    pressOnFooterLink(window);
    QCOMPARE(m_desktop->openedUrls.size(), 2);
  });
}

void ReadingWindowTest::printsTheWholeReport()
{
  frmSave &window = readingWindowOf(Tom);
  QTextCursor selection(window.RTB->document());
  selection.setPosition(2);
  selection.setPosition(8, QTextCursor::KeepAnchor);
  window.RTB->setTextCursor(selection);

  QTest::mouseClick(window.cmdPrint, Qt::LeftButton);
  QVERIFY(!window.RTB->textCursor().hasSelection());
  QCOMPARE(m_desktop->printedDocuments, QStringList{window.RTB->toPlainText()});
  QVERIFY(m_desktop->messageBoxes.isEmpty());

  m_desktop->printerAvailable = false;
  window.cmdPrint_Click();
  expectOneMessage(QStringLiteral("The reading could not be printed."), &window);
}

void ReadingWindowTest::savesTheCurrentReading()
{
  const QString path = m_folder.filePath(QStringLiteral("tom.zod"));
  m_desktop->fileNames << QString() << path << file(QStringLiteral("plain"), "x") + "/tom.zod";
  frmSave &window = readingWindowOf(Tom);

  window.cmdSave_Click(); // cancelled
  QVERIFY(!QFile::exists(path));
  QTest::mouseClick(window.cmdSave, Qt::LeftButton);
  QFile saved(path);
  QVERIFY(saved.open(QIODevice::ReadOnly));
  QCOMPARE(saved.readAll(), GoldenReadings::TomInMay);
  QVERIFY(m_desktop->messageBoxes.isEmpty());

  const ScriptedDesktop::FileDialogCall dialog = m_desktop->fileDialogs.last();
  QVERIFY(dialog.save);
  QCOMPARE(dialog.owner, &window);
  QCOMPARE(dialog.request.title, QStringLiteral("Save Your Zodiac Signs Result ...."));
  QCOMPARE(dialog.request.filter, QStringLiteral("Rich Text Format | *.zod"));
  QCOMPARE(dialog.request.defaultSuffix, QStringLiteral("zod"));

  window.cmdSave_Click(); // below a plain file, where no folder can be
  expectOneMessage(QStringLiteral("The reading could not be saved."), &window);
}

void ReadingWindowTest::offersOpenTheirPages()
{
  frmSave &window = readingWindowOf(Tom);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  // The full-branding offer lies in front of the co-branding one.
  QCOMPARE(window.lblFullBrand->parentWidget()->childAt(window.lblFullBrand->geometry().center()),
           window.lblFullBrand);
  QTest::mouseClick(window.Label61, Qt::LeftButton);
  QTest::mouseClick(window.lblFullBrand, Qt::LeftButton);
  QTest::mouseClick(window.lblCobrand, Qt::LeftButton);
  QCOMPARE(m_desktop->openedUrls,
           QStringList({PageAddress(PageKey::Home), PageAddress(PageKey::FullyBranded),
                        PageAddress(PageKey::CoBrand)}));
}

void ReadingWindowTest::openMakesTheSavedReadingAgain()
{
  const frmMain *window = &openInMainWindow(
      file(QStringLiteral("june.zod"),
           SavedReadingBytes({QStringLiteral("Tom Smith"), QStringLiteral("June")})));
  QCOMPARE(shownReading().userName, QStringLiteral("Tom Smith"));
  QCOMPARE(shownAnimal(), AnimalForMonth(QStringLiteral("June"))->toUpper());
  QVERIFY(!Forms::find<frmMain>());
  QVERIFY(m_desktop->messageBoxes.isEmpty());

  const ScriptedDesktop::FileDialogCall dialog = m_desktop->fileDialogs.first();
  QVERIFY(!dialog.save);
  QCOMPARE(dialog.owner, window);
  QCOMPARE(dialog.request.title, QStringLiteral("Select the source file"));
  QCOMPARE(dialog.request.filter, QStringLiteral("Quorrin Free Zodiac Signs (*.zod)|*.zod"));
  QCOMPARE(dialog.request.defaultSuffix, QStringLiteral("zod"));

  // A month that is not one of the list's keeps the month chosen there.
  discardForms();
  const int april = 3;
  openInMainWindow(file(QStringLiteral("may.zod"),
                        SavedReadingBytes({QStringLiteral("Tom"), QStringLiteral("may")})),
                   april);
  QCOMPARE(shownReading().birthMonth, QStringLiteral("April"));
}

void ReadingWindowTest::openChecksTheEndOfTheName_data()
{
  QTest::addColumn<QString>("fileName");
  QTest::addColumn<bool>("accepted");
  QTest::newRow("zod without a dot") << "azod" << true;
  QTest::newRow("capitals") << "a.ZOD" << false;
}

void ReadingWindowTest::openChecksTheEndOfTheName()
{
  QFETCH(QString, fileName);
  QFETCH(bool, accepted);
  frmMain &window = openInMainWindow(file(fileName, GoldenReadings::TomInMay));
  QCOMPARE(shownAnimal().isEmpty(), !accepted);
  if (!accepted) {
    expectOneMessage(QStringLiteral("Please Check The File."), &window);
    QVERIFY(window.txtName->text().isEmpty());
  }
}

void ReadingWindowTest::unreadableFilesAskForAName()
{
  // A pipe with no writer would keep an opening reader waiting for ever.
  const QString pipe = m_folder.filePath(QStringLiteral("pipe.zod"));
  const bool havePipe = makeNamedPipe(pipe);
  const QString folder = m_folder.filePath(QStringLiteral("folder.zod"));
  QVERIFY(QDir().mkdir(folder));
  const QString noName = file(QStringLiteral("noname.zod"), "\r\n\xa2\xb6\xce\r\n");

  for (const QString &path :
       {noName, folder, pipe, m_folder.filePath(QStringLiteral("gone.zod"))}) {
    frmMain &window = openInMainWindow(path);
    expectOneMessage(QStringLiteral("Please Enter Your Name"), &window);
    QCOMPARE(Forms::find<frmMain>(), &window);
    QVERIFY(shownAnimal().isEmpty());
    discardForms();
  }
  if (!havePipe)
    QSKIP("no named pipe can stand at a file's path here");
}

QTEST_MAIN(ReadingWindowTest)
#include "tst_readingwindow.moc"
