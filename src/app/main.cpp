// vorn: the desktop program.

#include <QApplication>
#include <QIcon>

#include "ui/main_window.h"
#include "ui/widget_modals.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("VORN");
  QApplication::setOrganizationName("Quillon Systems");
  QApplication::setDesktopFileName("vorn");
  QApplication::setWindowIcon(QIcon(":/vorn/vorn.png"));
  vorn::WidgetModals modals;
  vorn::MainWindow window(&modals);
  window.show();
  window.StartUp();
  return QApplication::exec();
}
