#include "ui/shutdown.h"

#include "platform/desktop.h"
#include "ui/form.h"

#include <QPointer>

void ExitApplication()
{
  // The closing screen calls back in here while it is being unloaded by this
  // very walk. The nested call finishes the walk and ends the process; the
  // outer one must not end it a second time.
  static int activeCalls = 0;
  static bool ended = false;
  if (activeCalls == 0) {
    ended = false;
    // A file handed over now could never be shown: its start tells its user.
    desktop().refuseHandedFiles();
  }
  ++activeCalls;

  QList<QPointer<Form>> forms;
  for (Form *form : Forms::loaded())
    forms.append(form);
  for (const QPointer<Form> &form : forms) {
    if (form)
      form->unload();
  }

  --activeCalls;
  if (!ended) {
    ended = true;
    desktop().endProcess();
  }
}
