#include "ui/form.h"

#include "config.h"
#include "content/content.h"
#include "platform/placement.h"
#include "ui/accessibility.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QIcon>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QList<Form *> &registry()
{
  static QList<Form *> forms;
  return forms;
}
} // namespace

Form::Form(const QString &formName, const QString &description, const QSize &clientSize)
{
  Accessibility::install();
  setObjectName(formName);
  setAccessibleDescription(description);
  setWindowRole(formName);
  setWindowTitle(WindowTitle);
  setWindowIcon(Content::applicationIcon());
  // Every window has a fixed size, so none offers to maximise, and on Windows
  // none has a border to drag.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  m_client = new QWidget(this);
  m_client->setObjectName(QStringLiteral("client"));
  m_client->setFixedSize(clientSize);
  layout->addWidget(m_client);
}

Form::~Form() { registry().removeAll(this); }

QMenuBar *Form::addMenuBar()
{
  auto *bar = new QMenuBar(this);
  layout()->setMenuBar(bar);
  return bar;
}

void loadForm(Form *form)
{
  registry().append(form);
  form->Form_Load();
  // As on Windows, Enter presses the focused button in every window, not only
  // in dialogs.
  for (auto *button : form->findChildren<QPushButton *>())
    button->setAutoDefault(true);
}

void Form::placeOnScreen()
{
  if (m_placed)
    return;
  m_placed = true;
  centreOnScreen(*this);
}

void Form::showModeless()
{
  placeOnScreen();
  show();
  raise();
  activateWindow();
}

void Form::showModal()
{
  placeOnScreen();
  setWindowModality(Qt::ApplicationModal);
  QEventLoop loop;
  connect(this, &Form::hiddenOrUnloaded, &loop, &QEventLoop::quit);
  show();
  raise();
  activateWindow();
  loop.exec(QEventLoop::DialogExec);
}

void Form::hideForm()
{
  hide();
  emit hiddenOrUnloaded();
}

void Form::unload()
{
  if (m_unloading)
    return;
  m_unloading = true;
  Form_Unload();
  hide();
  registry().removeAll(this);
  emit hiddenOrUnloaded();
  deleteLater();
}

void Form::closeEvent(QCloseEvent *event)
{
  event->ignore();
  unload();
}

namespace Forms {
QList<Form *> loaded() { return registry(); }
} // namespace Forms
