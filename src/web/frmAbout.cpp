#include "web/frmAbout.h"

#include "shell/look.h"

frmAbout::frmAbout() : Form(QStringLiteral("frmAbout"), Look::twipsSize(7095, 3015)) {}
