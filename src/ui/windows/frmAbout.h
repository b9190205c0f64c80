#pragma once

#include "ui/form.h"

class LinkLabel;
class QFrame;
class QLabel;
class QPushButton;

// The about window: the program's name and version, a line about it and two
// links. Shown modally, and loaded afresh at each opening.
class frmAbout : public Form {
  Q_OBJECT
public:
  frmAbout();

  QLabel *picIcon;
  QLabel *Label2;
  QLabel *Label1;
  LinkLabel *lblHomePage;
  QLabel *Label3;
  LinkLabel *lblCobrand;
  QFrame *Line2;
  QPushButton *cmdOK; // the default and the cancel button

public slots:
  void cmdOK_Click();

protected:
  void keyPressEvent(QKeyEvent *event) override;
};
