#pragma once

#include "shell/form.h"

// The closing screen.
class frmNagScreen2 : public Form {
  Q_OBJECT
public:
  frmNagScreen2();

protected:
  void Form_Unload() override;
};
