#pragma once

#include <QApplication>

#include <memory>

// Opens the program's connection to the desktop. Where no graphical display
// can be opened, Qt would end the process with an abort and a page about its
// platform plugins; this prints one line saying so and ends with status 1.
std::unique_ptr<QApplication> openApplication(int &argc, char **argv);
