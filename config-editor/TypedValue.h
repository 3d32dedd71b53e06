// A receiver's setting as a user types it: a kind (Integer, Date, String, ...) chosen from
// a list and a text, read the way the family's programs read such values.
#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "common/Variant.h"

namespace ConfigEditor {

using Halvane_Common_Procedures::Variant;
using Halvane_Common_Procedures::VariantType;

// The kinds a setting can hold, in the order a form offers them.
const std::vector<VariantType>& SettingTypes();
QString TypeName(VariantType type);
// Whether a value of the kind has a text at all (Empty and Null have none).
bool HasText(VariantType type);

// The text of a value in its own kind: numbers with "." (up to 15 significant digits),
// "True" / "False", dates as "yyyy-mm-dd hh:mm:ss" (the date alone at midnight, the time
// alone on the zero date); empty for Empty and Null.
QString EditText(const Variant& value);

struct ParsedValue {
  std::optional<Variant> value;
  QString error;  // why the text is no value of the kind
};

// Reads a text as a value of a kind: whole numbers are rounded half to even and must fit
// their kind (Integer 16-bit, Long 32-bit, Byte 0..255); a Currency keeps four decimals;
// numbers may be written "1e3" or "&HFF"; a Boolean is "True", "False", "Yes", "No" (in
// any case) or a number, 0 being False; a date is "yyyy-mm-dd" or "dd.mm.yyyy", with
// " hh:mm[:ss]" or without, or "hh:mm[:ss]" alone. Empty and Null ignore the text. The
// error names what is wrong: the kind's range, the day that does not exist.
ParsedValue ParseTypedValue(VariantType type, const QString& text);

}  // namespace ConfigEditor
