// The text form of Fauxlarm.ini, registered with QSettings as a format of its own, so that
// what a user types into the file is the text the program uses:
//
//   ; comment
//   [Parameters]
//   Field_3=Pump 3, hall B
//   Field_4=C:\temp\new
//   Field_5="  padded, with \"quotes\" \t and a tab  "
//
// - A line "key=value" gives the value: the text after the first "=", without the blanks
//   at either end. Commas, semicolons, "=" and backslashes are part of it.
// - A value that begins and ends with a double quote is quoted: the quotes go, and inside
//   them a backslash starts an escape: \\ \" \t \n \r \a \b \f \v, \xH.. (hexadecimal
//   code) and \0.. (octal code); before any other character the backslash is dropped.
// - Files of earlier versions, written with Qt's INI escaping, read the same: a value
//   without quotes whose every backslash pairs up as \\ or \" has those pairs read as one
//   character, and a value beginning with "@@" stands for one beginning with "@". Keys
//   may carry %XX and %UXXXX codes ("SCADA%20System").
// - Lines beginning with ";" or "#" and lines without "=" are ignored.
//
// The writer puts a value in quotes only when its plain form would not read back as the
// same text (blanks at either end, quotes at both ends, control characters, backslash
// pairs); so Read(Write(map)) gives the map back for every text.
#pragma once

#include <QSettings>
#include <QString>
#include <QStringView>

class QIODevice;

namespace SettingsFile {

// The format, registered with QSettings at the first call, with the extension "ini".
QSettings::Format Format();

bool Read(QIODevice& device, QSettings::SettingsMap& map);
bool Write(QIODevice& device, const QSettings::SettingsMap& map);

// One value as it stands after "=" in the file, and the other way round.
QString ValueFromFile(QStringView written);
QString ValueToFile(const QString& text);

}  // namespace SettingsFile
