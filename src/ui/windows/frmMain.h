#pragma once

#include "ui/form.h"

class LinkLabel;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
struct Reading;

// The main window: the user types a name, picks a birth month and asks for
// the sign. Leaving it other than through Proceed leads to the closing screen.
class frmMain : public Form {
  Q_OBJECT
public:
  frmMain();

  LinkLabel *Label61;
  QLabel *Label3;
  QGroupBox *fraDetails;
  QLabel *Label1;
  QLineEdit *txtName;
  QLabel *Label2;
  QComboBox *cboMonth;
  QPushButton *cmdProceed;
  QPushButton *cmdOpen;
  QFrame *fraFullBrand;
  LinkLabel *lblCobrand;
  LinkLabel *lblFullBrand;

  // The open command's steps after its dialog, for a saved reading the
  // program was given another way.
  void openSavedReading(const QString &path);

public slots:
  void cmdProceed_Click();
  void cmdOpen_Click();

protected:
  void Form_Load() override;
  void Form_Unload() override;

private:
  bool ValidateName();
  void proceedWith(const Reading &saved);

  bool m_unloadingForProceed = false;
};
