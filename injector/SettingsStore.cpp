#include "injector/SettingsStore.h"

#include "injector/SettingsFile.h"
#include "injector/UserMessages.h"

SettingsStore::SettingsStore()
    : settings_(std::make_unique<QSettings>(SettingsFile::Format(), QSettings::UserScope,
                                            ProgramName())) {}

SettingsStore::SettingsStore(const QString& iniFile)
    : settings_(std::make_unique<QSettings>(iniFile, SettingsFile::Format())) {}

// Qt compares keys by case on this platform; the family's settings never did, so a key
// typed as "field_0" under "[parameters]" is found too.
QString SettingsStore::GetSetting(const QString& section, const QString& key,
                                  const QString& defaultValue) {
  const QString path = section + u'/' + key;
  if (settings_->contains(path)) return settings_->value(path).toString();
  for (const QString& stored : settings_->allKeys()) {
    if (stored.compare(path, Qt::CaseInsensitive) == 0) return settings_->value(stored).toString();
  }
  return defaultValue;
}

void SettingsStore::SaveSetting(const QString& section, const QString& key, const QString& value) {
  const QString path = section + u'/' + key;
  for (const QString& stored : settings_->allKeys()) {
    if (stored != path && stored.compare(path, Qt::CaseInsensitive) == 0) settings_->remove(stored);
  }
  settings_->setValue(path, value);
}

// A file that could not be read is replaced, which is no failure to save.
bool SettingsStore::Flush() {
  settings_->sync();
  return settings_->status() != QSettings::AccessError;
}
