// Conversions between the engine's texts and Qt's.

#ifndef VORN_UI_QT_TEXT_H_
#define VORN_UI_QT_TEXT_H_

#include <QString>
#include <string>

namespace vorn {

// A UTF-8 text of the engine, its CR LF line breaks as Qt's "\n".
inline QString Qs(const std::string& utf8) {
  QString s = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return s;
}

// A text of a control as the engine's UTF-8.
inline std::string Utf8(const QString& s) { return s.toUtf8().toStdString(); }

}  // namespace vorn

#endif  // VORN_UI_QT_TEXT_H_
