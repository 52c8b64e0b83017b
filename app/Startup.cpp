#include "app/Startup.h"
#include <QApplication>
int runTarvola(int argc, char** argv) { QApplication app(argc, argv); return 0; }
