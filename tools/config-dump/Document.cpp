#include "Document.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace configdump {
namespace {

std::string realText(double value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

// Appends the text in double quotes, escaped for JSON or for the text form.
void appendQuoted(const std::string& utf8, bool json, std::string& out) {
  out += '"';
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20 || byte == 0x7F) {
      char code[8];
      std::snprintf(code, sizeof code, json ? "\\u%04x" : "\\x%02X", byte);
      out += code;
    } else {
      out += c;
    }
  }
  out += '"';
}

// A label of the text form as a JSON key: its words in camel case ("disk identity" gives
// "diskIdentity", "off-duty alarm behaviour" "offDutyAlarmBehaviour").
std::string jsonKey(const std::string& label) {
  std::string key;
  bool wordStart = false;
  for (const char c : label) {
    if (c == ' ' || c == '-') {
      wordStart = !key.empty();
      continue;
    }
    const bool lower = key.empty();
    key += lower       ? static_cast<char>(std::tolower(static_cast<unsigned char>(c)))
           : wordStart ? static_cast<char>(std::toupper(static_cast<unsigned char>(c)))
                       : c;
    wordStart = false;
  }
  return key;
}

// How a scalar, or a part with a summary, shows on its line of the text form; empty for
// a part that needs lines of its own.
std::string inlineText(const Node& node) {
  switch (node.kind()) {
    case Node::Kind::Null:
      return "-";
    case Node::Kind::Boolean:
      return node.booleanValue() ? "yes" : "no";
    case Node::Kind::Integer:
      return std::to_string(node.integerValue());
    case Node::Kind::Real:
      return realText(node.realValue());
    case Node::Kind::Text:
      return quoted(node.textValue());
    case Node::Kind::Object:
    case Node::Kind::List:
      if (!node.summary().empty()) return node.summary();
      if (node.members().empty()) return node.kind() == Node::Kind::List ? "none" : "-";
      return {};
  }
  return {};
}

void appendText(const Node& node, int indent, std::string& out) {
  const std::string margin(static_cast<std::size_t>(indent), ' ');
  for (const auto& [key, member] : node.members()) {
    const std::string label = node.kind() == Node::Kind::List ? "-" : key + ":";
    const std::string line = inlineText(member);
    if (!line.empty()) {
      out += margin + label + " " + line + "\n";
    } else {
      out += margin + label + "\n";
      appendText(member, indent + 2, out);
    }
  }
}

void appendJson(const Node& node, int indent, std::string& out) {
  switch (node.kind()) {
    case Node::Kind::Null:
      out += "null";
      return;
    case Node::Kind::Boolean:
      out += node.booleanValue() ? "true" : "false";
      return;
    case Node::Kind::Integer:
      out += std::to_string(node.integerValue());
      return;
    case Node::Kind::Real:
      // JSON has no NaN or infinity; they go as texts.
      if (std::isfinite(node.realValue())) {
        out += realText(node.realValue());
      } else {
        appendQuoted(realText(node.realValue()), true, out);
      }
      return;
    case Node::Kind::Text:
      appendQuoted(node.textValue(), true, out);
      return;
    case Node::Kind::Object:
    case Node::Kind::List:
      break;
  }
  const bool isObject = node.kind() == Node::Kind::Object;
  if (node.members().empty()) {
    out += isObject ? "{}" : "[]";
    return;
  }
  out += isObject ? "{\n" : "[\n";
  const std::string margin(static_cast<std::size_t>(indent + 2), ' ');
  bool first = true;
  for (const auto& [key, member] : node.members()) {
    if (!first) out += ",\n";
    first = false;
    out += margin;
    if (isObject) {
      appendQuoted(jsonKey(key), true, out);
      out += ": ";
    }
    appendJson(member, indent + 2, out);
  }
  out += '\n';
  out.append(static_cast<std::size_t>(indent), ' ');
  out += isObject ? '}' : ']';
}

}  // namespace

Node Node::boolean(bool value) {
  Node node;
  node.kind_ = Kind::Boolean;
  node.boolean_ = value;
  return node;
}

Node Node::integer(std::int64_t value) {
  Node node;
  node.kind_ = Kind::Integer;
  node.integer_ = value;
  return node;
}

Node Node::real(double value) {
  Node node;
  node.kind_ = Kind::Real;
  node.real_ = value;
  return node;
}

Node Node::text(std::string value) {
  Node node;
  node.kind_ = Kind::Text;
  node.text_ = std::move(value);
  return node;
}

Node Node::object() {
  Node node;
  node.kind_ = Kind::Object;
  return node;
}

Node Node::list() {
  Node node;
  node.kind_ = Kind::List;
  return node;
}

Node& Node::add(std::string key, Node value) {
  members_.emplace_back(std::move(key), std::move(value));
  return *this;
}

Node& Node::push(Node item) {
  members_.emplace_back(std::string(), std::move(item));
  return *this;
}

Node& Node::summarize(std::string line) {
  summary_ = std::move(line);
  return *this;
}

std::string renderText(const Node& node) {
  std::string out;
  appendText(node, 0, out);
  return out;
}

std::string renderJson(const Node& node) {
  std::string out;
  appendJson(node, 0, out);
  return out + "\n";
}

std::string quoted(const std::string& utf8) {
  std::string out;
  appendQuoted(utf8, false, out);
  return out;
}

}  // namespace configdump
