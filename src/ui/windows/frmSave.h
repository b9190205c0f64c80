#pragma once

#include "core/reading.h"
#include "ui/form.h"

class LinkLabel;
class QFrame;
class QPushButton;
class QTextEdit;

// The reading window: the report of the reading it is given, to print or save.
// Its web addresses are live links.
class frmSave : public Form {
  Q_OBJECT
public:
  frmSave();

  // Writes the report of the reading afresh.
  void setReading(const Reading &reading);
  const Reading &reading() const { return m_reading; }

  LinkLabel *Label61;
  QTextEdit *RTB;
  QPushButton *cmdSave;
  QPushButton *cmdPrint;
  QFrame *fraFullBrand;
  LinkLabel *lblCobrand;
  LinkLabel *lblFullBrand;

public slots:
  void cmdPrint_Click();
  void cmdSave_Click();

protected:
  void Form_Load() override;
  void Form_Unload() override;

private:
  Reading m_reading;
};
