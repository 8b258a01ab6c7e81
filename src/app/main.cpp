// vorn: the desktop program.

#include <QApplication>
#include <QIcon>
#include <QScreen>
#include <algorithm>

#include "app/frm_main.h"
#include "ui/option_dialogs.h"
#include "ui/widget_modals.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("VORN");
  QApplication::setOrganizationName("Quillon Systems");
  QApplication::setDesktopFileName("vorn");
  // The icon is in the window library's resource, with the help text.
  QApplication::setWindowIcon(QIcon(":/vorn/vorn.png"));
  vorn::WidgetModals modals;
  vorn::FrmMain window(&modals);
  // 600 twips from the left edge of the screen, centred from top to bottom.
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  window.resize(std::min(1200, screen.width() - 40), std::min(760, screen.height() - 60));
  window.move(screen.left() + vorn::TwipsToPixels(&window, 600),
              screen.top() + std::max(0, (screen.height() - window.frameGeometry().height()) / 2));
  window.show();
  window.StartUp();
  return QApplication::exec();
}
