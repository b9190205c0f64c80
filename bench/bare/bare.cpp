// The floor that the program's start-up, memory and idle figures are set
// against: a Qt Widgets program with nothing but one window of the main
// window's size, one label and one focused line edit.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

int main(int argc, char *argv[])
{
  QApplication application(argc, argv);

  QWidget window;
  window.setFixedSize(408, 292);
  auto *label = new QLabel(QStringLiteral("Name"), &window);
  label->move(32, 32);
  auto *name = new QLineEdit(&window);
  name->setGeometry(94, 27, 223, 23);
  name->setFocus();

  window.show();
  window.activateWindow();
  return QApplication::exec();
}
