// The per-user settings of the program: texts by section and key, each read with a
// default. Kept as an INI file in the user's configuration folder
// ($XDG_CONFIG_HOME/Fauxlarm.ini, normally ~/.config/Fauxlarm.ini).
#pragma once

#include <QSettings>
#include <memory>

class SettingsStore {
 public:
  // The user's own settings of the application "Fauxlarm".
  SettingsStore();
  // Settings kept in the given INI file (tests, side-by-side set-ups).
  explicit SettingsStore(const QString& iniFile);

  QString GetSetting(const QString& section, const QString& key, const QString& defaultValue);
  void SaveSetting(const QString& section, const QString& key, const QString& value);

  // Writes what was saved to the disk now and tells whether that worked.
  bool Flush();
  QString FileName() const { return settings_->fileName(); }

 private:
  std::unique_ptr<QSettings> settings_;
};
