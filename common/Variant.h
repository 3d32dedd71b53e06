// The variant value of the family's programs: what a setting of a receiver holds, what a
// condition is given as, and what host windows pass and return. Each kind carries the
// type code it has on disk and in the family's variant API.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

#include "common/DateTime.h"

namespace Halvane_Common_Procedures {

enum class VariantType : std::int16_t {
  Empty = 0,
  Null = 1,
  Integer = 2,  // 16-bit
  Long = 3,     // 32-bit
  Single = 4,
  Double = 5,
  Currency = 6,
  Date = 7,
  String = 8,
  Object = 9,
  Boolean = 11,
  Byte = 17,
};

struct EmptyValue {
  friend bool operator==(EmptyValue, EmptyValue) = default;
};
struct NullValue {
  friend bool operator==(NullValue, NullValue) = default;
};

// A fixed-point amount with four decimals, held as ten-thousandths.
struct Currency {
  std::int64_t tenThousandths = 0;
  friend bool operator==(const Currency&, const Currency&) = default;
};

// A reference to an object of a host (a list item, a control), or none. Only its identity
// matters to the classes that receive it.
struct ObjectRef {
  std::shared_ptr<const void> object;
  bool IsNothing() const { return object == nullptr; }
  friend bool operator==(const ObjectRef&, const ObjectRef&) = default;
};

class Variant {
 public:
  using Value = std::variant<EmptyValue, NullValue, std::int16_t, std::int32_t, float, double,
                             Currency, DateTime, std::u16string, ObjectRef, bool, std::uint8_t>;

  Variant() = default;
  Variant(NullValue v) : value_(v) {}
  Variant(std::int16_t v) : value_(v) {}
  Variant(std::int32_t v) : value_(v) {}
  Variant(float v) : value_(v) {}
  Variant(double v) : value_(v) {}
  Variant(Currency v) : value_(v) {}
  Variant(DateTime v) : value_(v) {}
  Variant(std::u16string v) : value_(std::move(v)) {}
  Variant(std::u16string_view v) : value_(std::u16string(v)) {}
  Variant(const char16_t* v) : value_(std::u16string(v)) {}
  Variant(ObjectRef v) : value_(std::move(v)) {}
  Variant(bool v) : value_(v) {}
  Variant(std::uint8_t v) : value_(v) {}

  static Variant Null() { return Variant(NullValue{}); }
  // None: an object reference that refers to nothing.
  static Variant Nothing() { return Variant(ObjectRef{}); }

  VariantType Type() const;
  const Value& value() const { return value_; }

  template <typename T>
  bool Holds() const {
    return std::holds_alternative<T>(value_);
  }
  template <typename T>
  const T& Get() const {
    return std::get<T>(value_);
  }

  bool IsEmpty() const { return Holds<EmptyValue>(); }
  bool IsNull() const { return Holds<NullValue>(); }
  // A number, Boolean or date: something with a numeric value.
  bool IsNumeric() const;
  bool IsText() const { return Holds<std::u16string>(); }
  bool IsObject() const { return Holds<ObjectRef>(); }

  // Identical kind and value (two floating-point values by their bits' meaning, so NaN
  // differs from itself).
  friend bool operator==(const Variant&, const Variant&) = default;

 private:
  Value value_;
};

// The value as a text, as the family's programs print it: numbers in decimal with "." and
// up to 15 (double) or 7 (single) significant digits, "True" / "False", dates as
// "yyyy-mm-dd hh:mm:ss" (the date alone at midnight, the time alone on the zero date),
// empty as the empty text. Null raises error 94, an object error 438.
std::u16string ToText(const Variant& value);

// The value as a number: empty is 0, True is -1, a date its day count, a text must spell a
// number ("12", " -1.5 ", "1e3", "&HFF"), else error 13. Null raises error 94, an object
// error 13.
double ToDouble(const Variant& value);

// The value as a Boolean: a number is true when not 0; the texts "True" and "False" (any
// case) and numeric texts are read; anything else raises error 13 (Null: error 94).
bool ToBoolean(const Variant& value);

// Whether two stored settings count as the same, the rule receivers use to tell unsaved
// changes: both empty; numbers, Booleans and dates of equal value whatever their kinds;
// texts with the same characters (case counts); empty against 0 or the empty text. A
// number and a text always differ. Null equals only Null; objects are equal when they are
// the same object.
bool SettingsEqual(const Variant& a, const Variant& b);

}  // namespace Halvane_Common_Procedures
