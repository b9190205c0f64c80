#pragma once

#include "shell/form.h"

// The reading window: the report of the current reading, to print or save.
class frmSave : public Form {
  Q_OBJECT
public:
  frmSave();
};
