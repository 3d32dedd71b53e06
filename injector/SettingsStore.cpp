#include "injector/SettingsStore.h"

SettingsStore::SettingsStore()
    : settings_(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                            QStringLiteral("Fauxlarm"))) {}

SettingsStore::SettingsStore(const QString& iniFile)
    : settings_(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {}

QString SettingsStore::GetSetting(const QString& section, const QString& key,
                                  const QString& defaultValue) {
  return settings_->value(section + u'/' + key, defaultValue).toString();
}

void SettingsStore::SaveSetting(const QString& section, const QString& key, const QString& value) {
  settings_->setValue(section + u'/' + key, value);
}

bool SettingsStore::Flush() {
  settings_->sync();
  return settings_->status() == QSettings::NoError;
}
