#include "platform/desktop.h"

#include <QtGlobal>

namespace {
Desktop *currentDesktop = nullptr;
}

Desktop &desktop()
{
  Q_ASSERT_X(currentDesktop, "desktop()", "no desktop was set");
  return *currentDesktop;
}

void setDesktop(Desktop *desktop) { currentDesktop = desktop; }
