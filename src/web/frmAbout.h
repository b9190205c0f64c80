#pragma once

#include "shell/form.h"

// The about window.
class frmAbout : public Form {
  Q_OBJECT
public:
  frmAbout();
};
