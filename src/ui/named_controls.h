// The controls of a window by their objectName, and the engine's control
// states applied to them.

#ifndef VORN_UI_NAMED_CONTROLS_H_
#define VORN_UI_NAMED_CONTROLS_H_

#include <QHash>
#include <QString>
#include <QWidget>
#include <vector>

#include "counting/window_rules.h"

namespace vorn {

// Every named widget below `window` (Qt's own parts, named "qt_...", left
// out), by objectName.
inline QHash<QString, QWidget*> NamedControls(QWidget* window) {
  QHash<QString, QWidget*> controls;
  for (QWidget* w : window->findChildren<QWidget*>()) {
    const QString name = w->objectName();
    if (!name.isEmpty() && !name.startsWith(QLatin1String("qt_"))) controls.insert(name, w);
  }
  return controls;
}

// Enables (and, with `visibility`, shows or hides) each named control as
// `states` say; names the window does not have are passed over.
inline void ApplyStates(const QHash<QString, QWidget*>& controls,
                        const std::vector<ControlState>& states, bool visibility) {
  for (const ControlState& c : states) {
    QWidget* w = controls.value(QString::fromStdString(c.name));
    if (w == nullptr) continue;
    if (visibility) w->setVisible(c.visible);
    w->setEnabled(c.enabled);
  }
}

}  // namespace vorn

#endif  // VORN_UI_NAMED_CONTROLS_H_
