// The per-user settings of the program: texts by section and key, each read with a
// default. Kept in the user's configuration folder ($XDG_CONFIG_HOME/Fauxlarm.ini, normally
// ~/.config/Fauxlarm.ini) in the form SettingsFile describes; keys match regardless of case.
#pragma once

#include <QSettings>
#include <memory>

class SettingsStore {
 public:
  // The user's own settings of the application "Fauxlarm".
  SettingsStore();
  // Settings kept in the given file (tests, side-by-side set-ups).
  explicit SettingsStore(const QString& iniFile);

  QString GetSetting(const QString& section, const QString& key, const QString& defaultValue);
  void SaveSetting(const QString& section, const QString& key, const QString& value);

  // Writes what was saved to the disk now; false only when the file could not be written.
  bool Flush();
  QString FileName() const { return settings_->fileName(); }

 private:
  std::unique_ptr<QSettings> settings_;
};
