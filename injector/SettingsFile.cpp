#include "injector/SettingsFile.h"

#include <QIODevice>
#include <optional>

namespace SettingsFile {
namespace {

const char kHeader[] =
    "; Fauxlarm settings. A value is the text after \"=\" as it stands. In a value in double\n"
    "; quotes, \\\\ \\\" \\t \\n \\r and \\xHH stand for a backslash, a quote, a tab, a\n"
    "; line feed, a carriage return and the character of that hexadecimal code.\n";

bool IsBlank(QChar c) {
  return c == u' ' || c == u'\t';
}

QStringView TrimBlanks(QStringView text) {
  qsizetype first = 0;
  qsizetype last = text.size();
  while (first < last && IsBlank(text[first]))
    ++first;
  while (last > first && IsBlank(text[last - 1]))
    --last;
  return text.sliced(first, last - first);
}

// Control characters and halves of broken surrogate pairs cannot stand in a line as they are.
bool NeedsEscape(QStringView text, qsizetype i) {
  const QChar c = text[i];
  if (c.unicode() < 0x20 || c.unicode() == 0x7F) return true;
  if (c.isHighSurrogate()) return i + 1 >= text.size() || !text[i + 1].isLowSurrogate();
  if (c.isLowSurrogate()) return i == 0 || !text[i - 1].isHighSurrogate();
  return false;
}

int DigitValue(QChar c, int base) {
  const char16_t u = c.unicode();
  int value = -1;
  if (u >= u'0' && u <= u'9') {
    value = u - u'0';
  } else if (u >= u'a' && u <= u'f') {
    value = u - u'a' + 10;
  } else if (u >= u'A' && u <= u'F') {
    value = u - u'A' + 10;
  }
  return value < base ? value : -1;
}

// The character whose code in the given base starts at text[i]; i moves past its digits.
QChar ReadCode(QStringView text, qsizetype& i, int base) {
  uint code = 0;
  for (int digit = 0; i < text.size() && (digit = DigitValue(text[i], base)) >= 0; ++i)
    code = (code * static_cast<uint>(base) + static_cast<uint>(digit)) & 0xFFFF;
  return QChar(static_cast<char16_t>(code));
}

QChar EscapedCharacter(QChar c) {
  switch (c.unicode()) {
    case u'a':
      return u'\a';
    case u'b':
      return u'\b';
    case u'f':
      return u'\f';
    case u'n':
      return u'\n';
    case u'r':
      return u'\r';
    case u't':
      return u'\t';
    case u'v':
      return u'\v';
    default:
      return c;  // \\ \" \' \? and a backslash before anything else
  }
}

// The inside of a quoted value, with the escapes of C (which Qt's INI files use too).
QString Unescape(QStringView inner) {
  QString text;
  text.reserve(inner.size());
  qsizetype i = 0;
  while (i < inner.size()) {
    if (inner[i] != u'\\' || i + 1 == inner.size()) {
      text += inner[i++];
      continue;
    }
    const QChar c = inner[++i];
    if (c == u'x' && i + 1 < inner.size() && DigitValue(inner[i + 1], 16) >= 0) {
      ++i;
      text += ReadCode(inner, i, 16);
    } else if (DigitValue(c, 8) >= 0) {
      text += ReadCode(inner, i, 8);
    } else {
      text += EscapedCharacter(c);
      ++i;
    }
  }
  return text;
}

void AppendHexEscape(QChar c, QString& out) {
  out += QStringLiteral("\\x") + QString::number(c.unicode(), 16);
}

// The inverse of Unescape. A digit that follows a \x code is escaped as well, or it would
// read as part of the code.
QString Escape(QStringView text) {
  QString out;
  out.reserve(text.size() + 8);
  bool afterCode = false;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (afterCode && DigitValue(c, 16) >= 0) {
      AppendHexEscape(c, out);
      continue;
    }
    afterCode = false;
    switch (c.unicode()) {
      case u'\\':
        out += QStringLiteral("\\\\");
        break;
      case u'"':
        out += QStringLiteral("\\\"");
        break;
      case u'\t':
        out += QStringLiteral("\\t");
        break;
      case u'\n':
        out += QStringLiteral("\\n");
        break;
      case u'\r':
        out += QStringLiteral("\\r");
        break;
      default:
        if (NeedsEscape(text, i)) {
          AppendHexEscape(c, out);
          afterCode = true;
        } else {
          out += c;
        }
    }
  }
  return out;
}

// Qt's INI escaping left a backslash and a quote written as \\ and \" in values without
// quotes. A value in which every backslash pairs up that way is read as such; any other
// backslash (C:\temp\new, \\server\share) means the value was typed as it stands.
std::optional<QString> UnpairedBackslashes(QStringView value) {
  if (!value.contains(u'\\')) return std::nullopt;
  QString text;
  for (qsizetype i = 0; i < value.size(); ++i) {
    if (value[i] == u'\\') {
      if (i + 1 == value.size() || (value[i + 1] != u'\\' && value[i + 1] != u'"')) {
        return std::nullopt;
      }
      ++i;
    }
    text += value[i];
  }
  return text;
}

bool AllHexDigits(QStringView text) {
  for (QChar c : text) {
    if (DigitValue(c, 16) < 0) return false;
  }
  return true;
}

// %XX and %UXXXX codes, with which Qt's INI files wrote blanks and other characters in keys.
QString KeyFromFile(QStringView written) {
  const QStringView key = TrimBlanks(written);
  QString text;
  qsizetype i = 0;
  while (i < key.size()) {
    if (key[i] == u'%') {
      const bool wide = i + 1 < key.size() && key[i + 1] == u'U';
      const qsizetype first = i + (wide ? 2 : 1);
      const qsizetype digits = wide ? 4 : 2;
      if (first + digits <= key.size() && AllHexDigits(key.sliced(first, digits))) {
        qsizetype j = 0;
        text += ReadCode(key.sliced(first, digits), j, 16);
        i = first + digits;
        continue;
      }
    }
    text += key[i++];
  }
  return text;
}

// Keys are the program's own; only what would break the line or read back otherwise is
// written as a code.
QString KeyToFile(QStringView key) {
  QString out;
  for (qsizetype i = 0; i < key.size(); ++i) {
    const QChar c = key[i];
    const bool atEdge = i == 0 || i + 1 == key.size();
    const bool coded = c == u'%' || c == u'=' || c == u'[' || c == u']' || NeedsEscape(key, i) ||
                       (atEdge && IsBlank(c)) || (i == 0 && (c == u';' || c == u'#'));
    if (!coded) {
      out += c;
    } else if (c.unicode() <= 0xFF) {
      out += QStringLiteral("%%1").arg(c.unicode(), 2, 16, QChar(u'0')).toUpper();
    } else {
      out += QStringLiteral("%U%1").arg(c.unicode(), 4, 16, QChar(u'0')).toUpper();
    }
  }
  return out;
}

void AppendEntry(const QString& key, const QVariant& value, QString& out) {
  out += KeyToFile(key) + u'=' + ValueToFile(value.toString()) + u'\n';
}

}  // namespace

QString ValueFromFile(QStringView written) {
  const QStringView value = TrimBlanks(written);
  QString text;
  if (value.size() >= 2 && value.front() == u'"' && value.back() == u'"') {
    text = Unescape(value.sliced(1, value.size() - 2));
  } else if (std::optional<QString> unpaired = UnpairedBackslashes(value)) {
    text = *unpaired;
  } else {
    text = value.toString();
  }
  if (text.startsWith(QStringLiteral("@@"))) text.remove(0, 1);
  return text;
}

QString ValueToFile(const QString& text) {
  const QString value = text.startsWith(QStringLiteral("@@")) ? u'@' + text : text;
  bool plain = ValueFromFile(value) == text;
  for (qsizetype i = 0; plain && i < value.size(); ++i)
    plain = !NeedsEscape(value, i);
  return plain ? value : u'"' + Escape(value) + u'"';
}

bool Read(QIODevice& device, QSettings::SettingsMap& map) {
  QByteArray bytes = device.readAll();
  if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
  const QString text = QString::fromUtf8(bytes);
  QString section;
  for (QStringView line : QStringView(text).tokenize(u'\n')) {
    if (line.endsWith(u'\r')) line.chop(1);
    const QStringView trimmed = TrimBlanks(line);
    if (trimmed.isEmpty() || trimmed.front() == u';' || trimmed.front() == u'#') continue;
    if (trimmed.front() == u'[') {
      const qsizetype end = trimmed.indexOf(u']');
      if (end > 0) section = KeyFromFile(trimmed.sliced(1, end - 1));
      continue;
    }
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0) continue;
    const QString key = KeyFromFile(line.first(equals));
    if (key.isEmpty()) continue;
    map.insert(section.isEmpty() ? key : section + u'/' + key,
               ValueFromFile(line.sliced(equals + 1)));
  }
  return true;
}

bool Write(QIODevice& device, const QSettings::SettingsMap& map) {
  QString out = QString::fromUtf8(kHeader);
  // Keys outside any section come first, before the first section header.
  for (auto it = map.cbegin(); it != map.cend(); ++it) {
    if (!it.key().contains(u'/')) AppendEntry(it.key(), it.value(), out);
  }
  QString section;
  for (auto it = map.cbegin(); it != map.cend(); ++it) {
    const qsizetype slash = it.key().indexOf(u'/');
    if (slash < 0) continue;
    if (section.isNull() || it.key().first(slash) != section) {
      section = it.key().first(slash);
      out += u'[' + KeyToFile(section) + QStringLiteral("]\n");
    }
    AppendEntry(it.key().sliced(slash + 1), it.value(), out);
  }
  const QByteArray bytes = out.toUtf8();
  return device.write(bytes) == bytes.size();
}

QSettings::Format Format() {
  static const QSettings::Format format =
      QSettings::registerFormat(QStringLiteral("ini"), Read, Write);
  return format;
}

}  // namespace SettingsFile
