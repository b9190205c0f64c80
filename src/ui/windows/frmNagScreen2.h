#pragma once

#include "ui/form.h"

class LinkLabel;
class QGroupBox;
class QLabel;
class QPushButton;
class ReferAFriend;

// The closing screen: shown when the user leaves the main or the result
// window, it stays above every other window with an appeal to visit the
// maker's forum, links to the maker's pages and the refer-a-friend form. It is
// created once per run; closing it ends the program.
class frmNagScreen2 : public Form {
  Q_OBJECT
public:
  frmNagScreen2();

  QLabel *picNagscreen2Icon;
  QLabel *lblNagScreen2Caption;
  QLabel *Label2;      // the appeal drawn at load
  QPushButton *Check1; // a check box drawn as a button that stays down while ticked
  QPushButton *cmdClose;
  ReferAFriend *Frame2;
  QGroupBox *Frame6;
  QLabel *Label3;
  LinkLabel *lblGoToHome;

public slots:
  void cmdClose_Click();
  void Check1_Click();

protected:
  void Form_Load() override;
  void Form_Unload() override;
};
