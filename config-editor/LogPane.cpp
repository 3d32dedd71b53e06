#include "config-editor/LogPane.h"

#include <QTime>

#include "common/ProgramServices.h"

namespace ConfigEditor {

namespace hcp = Halvane_Common_Procedures;

LogPane::LogPane(QWidget* parent) : QPlainTextEdit(parent) {
  setObjectName(QStringLiteral("LogPane"));
  setReadOnly(true);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setMaximumBlockCount(10000);
  hcp::SetLogSink([this](const std::u16string& text) { Append(QString::fromStdU16String(text)); });
}

LogPane::~LogPane() {
  hcp::SetLogSink({});
}

void LogPane::Append(const QString& line) {
  appendPlainText(QTime::currentTime().toString(QStringLiteral("HH:mm:ss  ")) + line);
  emit Logged(line);
}

}  // namespace ConfigEditor
