#include "config-editor/ProgramTexts.h"

#include <QCoreApplication>
#include <utility>

#include "common/Halvane_Common_Procedures.h"
#include "config/HostProgramData.h"

namespace ConfigEditor {

namespace hcp = Halvane_Common_Procedures;
namespace hc = Halvane_Config;

namespace {

QString Tr(const char* text) {
  return QCoreApplication::translate("ConfigEditor", text);
}

}  // namespace

QString Counted(qsizetype count, const QString& one, const QString& many) {
  return QStringLiteral("%1 %2").arg(count).arg(count == 1 ? one : many);
}

void InstallProgramTexts() {
  // The numbers the configuration classes ask for, with the line each one starts.
  const std::pair<std::int32_t, const char*> kTexts[] = {
      {803, QT_TRANSLATE_NOOP("ConfigEditor", "Unknown file version:")},
      {804, QT_TRANSLATE_NOOP("ConfigEditor", "The receiver was not loaded.")},
      {805, QT_TRANSLATE_NOOP("ConfigEditor", "The profile was not loaded.")},
      {888, QT_TRANSLATE_NOOP("ConfigEditor", "Receiver file upgraded:")},
      {930, QT_TRANSLATE_NOOP("ConfigEditor", "Profile file upgraded:")},
      {976, QT_TRANSLATE_NOOP("ConfigEditor", "Receiver removed:")},
      {977, QT_TRANSLATE_NOOP("ConfigEditor", "Receiver could not be removed:")},
      {978, QT_TRANSLATE_NOOP("ConfigEditor", "Receiver could not be loaded:")},
      {979, QT_TRANSLATE_NOOP("ConfigEditor", "Receiver could not be saved:")},
      {980, QT_TRANSLATE_NOOP("ConfigEditor", "Profile could not be saved:")},
      {981, QT_TRANSLATE_NOOP("ConfigEditor", "Profile removed:")},
      {982, QT_TRANSLATE_NOOP("ConfigEditor", "Profile could not be loaded:")},
      {1088, QT_TRANSLATE_NOOP("ConfigEditor", "Receiver type")},
  };
  hcp::TextStore.clear();
  hcp::TextIndex.clear();
  for (const auto& [number, text] : kTexts) {
    const std::u16string translated = Tr(text).toStdU16String();
    hcp::TextIndex.push_back({number, static_cast<std::int32_t>(hcp::TextStore.size() + 1),
                              static_cast<std::int32_t>(translated.size())});
    hcp::TextStore += translated;
  }
  hcp::TextCount = static_cast<std::int32_t>(hcp::TextIndex.size());
}

void InstallDayTypeNames() {
  const char* const kShort[] = {
      QT_TRANSLATE_NOOP("ConfigEditor", "Mon"), QT_TRANSLATE_NOOP("ConfigEditor", "Tue"),
      QT_TRANSLATE_NOOP("ConfigEditor", "Wed"), QT_TRANSLATE_NOOP("ConfigEditor", "Thu"),
      QT_TRANSLATE_NOOP("ConfigEditor", "Fri"), QT_TRANSLATE_NOOP("ConfigEditor", "Sat"),
      QT_TRANSLATE_NOOP("ConfigEditor", "Sun")};
  const char* const kLong[] = {
      QT_TRANSLATE_NOOP("ConfigEditor", "Monday"),    QT_TRANSLATE_NOOP("ConfigEditor", "Tuesday"),
      QT_TRANSLATE_NOOP("ConfigEditor", "Wednesday"), QT_TRANSLATE_NOOP("ConfigEditor", "Thursday"),
      QT_TRANSLATE_NOOP("ConfigEditor", "Friday"),    QT_TRANSLATE_NOOP("ConfigEditor", "Saturday"),
      QT_TRANSLATE_NOOP("ConfigEditor", "Sunday")};
  for (int d = 0; d < hc::kDayTypeCount; ++d) {
    const int special = d - hc::kWeekDayTypes + 1;
    const QString shortName = d < hc::kWeekDayTypes ? Tr(kShort[d]) : Tr("S%1").arg(special);
    const QString name = d < hc::kWeekDayTypes ? Tr(kLong[d]) : Tr("Special day %1").arg(special);
    hc::DayTypeShortNames[d] = shortName.toStdU16String();
    hc::DayTypeNames[d] = name.toStdU16String();
  }
}

QString DayTypeItemText(int value) {
  if (value == 0) return Tr("Ordinary day");
  const QString name = QString::fromStdU16String(hc::DayTypeNames[value - 1]);
  return value <= hc::kWeekDayTypes ? Tr("Like %1").arg(name) : name;
}

}  // namespace ConfigEditor
