#pragma once

#include <QList>
#include <QWidget>

class QMenuBar;

// A window of the program with the lifecycle every window shares: it is
// created and loaded on first reference, shown modeless or modal, hidden, and
// unloaded, which runs its Form_Unload and destroys it, so that the next
// reference starts from its designed state. Closing it with the close box is
// an unload. Loaded windows are kept in load order for the shutdown walk.
class Form : public QWidget {
  Q_OBJECT
public:
  ~Form() override;

  void showModeless();
  // Returns when the window has been hidden or unloaded.
  void showModal();
  void hideForm();
  void unload();

  // The client area: every control of the window lives in it.
  QWidget *client() const { return m_client; }

signals:
  void hiddenOrUnloaded();

protected:
  // The window's name (also its X11 role), what a screen reader says it is
  // (every window has the same title) and its designed client area.
  Form(const QString &formName, const QString &description, const QSize &clientSize);

  virtual void Form_Load() {}
  virtual void Form_Unload() {}

  // Only windows with a menu bar call this, before they are shown.
  QMenuBar *addMenuBar();

  void closeEvent(QCloseEvent *event) override;

private:
  friend void loadForm(Form *form);
  void placeOnScreen();

  QWidget *m_client = nullptr;
  bool m_unloading = false;
  bool m_placed = false;
};

void loadForm(Form *form);

namespace Forms {

QList<Form *> loaded();

// The loaded window of a kind, or null.
template <class T> T *find()
{
  for (Form *form : loaded()) {
    if (auto *match = qobject_cast<T *>(form))
      return match;
  }
  return nullptr;
}

// The loaded window of a kind, loading it on this first reference.
template <class T> T &get()
{
  if (T *form = find<T>())
    return *form;
  auto *form = new T();
  loadForm(form);
  return *form;
}

} // namespace Forms
