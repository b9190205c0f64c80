#pragma once

#include "core/reading.h"
#include "ui/form.h"

#include <array>

class LinkLabel;
class QAction;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;

// The result window: the sign of the reading it is given, its description and
// the program's menus; its print command hands the reading on to the reading
// window. Leaving it other than through Back leads to the closing
// screen.
class frmAustralianAstrologyResult : public Form {
  Q_OBJECT
public:
  frmAustralianAstrologyResult();

  // Shows the animal of the reading's month in capitals and its description;
  // a month not in the sign table, compared exactly, changes no caption.
  void setReading(const Reading &reading);
  const Reading &reading() const { return m_reading; }

  LinkLabel *Label61;
  QGroupBox *fraStarUserSignDetails;
  std::array<QLabel *, 1> lblLabel{};
  std::array<QLabel *, 2> lblResult{}; // the animal in capitals, its description
  QPushButton *cmdBack;
  QFrame *fraFullBrand;
  LinkLabel *lblCobrand;
  LinkLabel *lblFullBrand;

  QAction *mnuPrint;
  QAction *mnuBack;
  QAction *mnuExit;
  QAction *mnuOnline;
  QAction *mnuVisit;
  QAction *mnuUpdate;
  QAction *mnuAbout;
  QAction *mnuDonate;
  QAction *mnuMakeMoney;

public slots:
  void cmdBack_Click();
  void cmdPrint_Click();
  void cmdExit_Click();

protected:
  void Form_Unload() override;

private:
  void buildMenus();

  Reading m_reading;
  bool m_unloadingForBack = false;
};
