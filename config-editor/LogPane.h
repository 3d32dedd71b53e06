// The log pane: every line the configuration classes give LogMessage (upgraded files,
// load, save and remove failures), and the window's own lines, each with its time.
#pragma once

#include <QPlainTextEdit>

namespace ConfigEditor {

class LogPane : public QPlainTextEdit {
  Q_OBJECT
 public:
  // Becomes the sink of LogMessage while it lives.
  explicit LogPane(QWidget* parent = nullptr);
  ~LogPane() override;

  void Append(const QString& line);

 signals:
  void Logged(const QString& line);
};

}  // namespace ConfigEditor
