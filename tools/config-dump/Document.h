// What halvane-config-dump prints, as a tree that renders both as indented text for people
// and as JSON for scripts: scalars, objects with their keys in order, and lists. An object
// or list may carry a one-line summary that the text shows instead of its parts.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace configdump {

class Node {
 public:
  enum class Kind { Null, Boolean, Integer, Real, Text, Object, List };

  Node() = default;
  static Node boolean(bool value);
  static Node integer(std::int64_t value);
  static Node real(double value);
  // UTF-8.
  static Node text(std::string value);
  static Node object();
  static Node list();

  // Adds a member to an object, an item to a list; both return *this.
  Node& add(std::string key, Node value);
  Node& push(Node item);
  // The text form shows this line instead of the parts.
  Node& summarize(std::string line);

  Kind kind() const { return kind_; }
  bool booleanValue() const { return boolean_; }
  std::int64_t integerValue() const { return integer_; }
  double realValue() const { return real_; }
  const std::string& textValue() const { return text_; }
  const std::string& summary() const { return summary_; }
  const std::vector<std::pair<std::string, Node>>& members() const { return members_; }

 private:
  Kind kind_ = Kind::Null;
  bool boolean_ = false;
  std::int64_t integer_ = 0;
  double real_ = 0;
  std::string text_;
  std::string summary_;
  std::vector<std::pair<std::string, Node>> members_;  // list items have empty keys
};

// An object's members as "key: value" lines, nested parts indented by two blanks; texts
// in double quotes with control characters escaped; yes / no for Booleans.
std::string renderText(const Node& node);
// One JSON value, indented by two blanks, with a final line feed; the keys are the text
// form's labels in camel case.
std::string renderJson(const Node& node);

// A text in double quotes with quotes, backslashes and control characters escaped, as the
// text form shows texts.
std::string quoted(const std::string& utf8);

}  // namespace configdump
