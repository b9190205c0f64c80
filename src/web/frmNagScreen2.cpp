#include "web/frmNagScreen2.h"

#include "shell/look.h"
#include "shell/shutdown.h"

frmNagScreen2::frmNagScreen2() : Form(QStringLiteral("frmNagScreen2"), Look::twipsSize(11115, 4725))
{
}

void frmNagScreen2::Form_Unload() { ExitApplication(); }
