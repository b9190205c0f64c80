#include "report/frmSave.h"

#include "shell/look.h"

frmSave::frmSave() : Form(QStringLiteral("frmSave"), Look::twipsSize(7725, 7815)) {}
