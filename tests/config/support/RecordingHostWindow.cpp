#include "RecordingHostWindow.h"

#include "common/Halvane_Common_Procedures.h"

namespace Halvane_Config {

namespace hcp = Halvane_Common_Procedures;

namespace {

constexpr std::u16string_view kGet = u"Get_";
constexpr std::u16string_view kSet = u"Set_";

std::string Enclosed(char mark, std::u16string_view text) {
  std::string enclosed(1, mark);
  enclosed += hcp::Utf16ToUtf8(text);
  enclosed += mark;
  return enclosed;
}

}  // namespace

std::string DescribeVariant(const Variant& value) {
  switch (value.Type()) {
    case hcp::VariantType::Empty:
      return "Empty";
    case hcp::VariantType::Null:
      return "Null";
    case hcp::VariantType::Object:
      return value.Get<hcp::ObjectRef>().IsNothing() ? "Nothing" : "Object";
    case hcp::VariantType::String:
      return Enclosed('"', value.Get<std::u16string>());
    case hcp::VariantType::Date:
      return Enclosed('#', hcp::ToText(value));
    default:
      break;
  }
  std::string text = hcp::Utf16ToUtf8(hcp::ToText(value));
  switch (value.Type()) {
    case hcp::VariantType::Integer:
      return text + "%";
    case hcp::VariantType::Long:
      return text + "&";
    case hcp::VariantType::Single:
      return text + "!";
    case hcp::VariantType::Double:
      return text + "#";
    case hcp::VariantType::Currency:
      return text + "@";
    case hcp::VariantType::Byte:
      return "CByte(" + text + ")";
    default:
      return text;
  }
}

Variant RecordingHostWindow::CallByName(std::u16string_view operation,
                                        std::span<const Variant> arguments) {
  calls.push_back({std::u16string(operation), {arguments.begin(), arguments.end()}});
  if (refused_.contains(operation)) throw hcp::RuntimeError(hcp::kObjectDoesNotSupportMember);
  if (operation.starts_with(kGet)) {
    const auto answer = answers_.find(operation);
    if (answer == answers_.end()) throw hcp::RuntimeError(hcp::kObjectDoesNotSupportMember);
    return answer->second(arguments);
  }
  if (operation.starts_with(kSet) && !arguments.empty()) {
    Answer(std::u16string(kGet) + std::u16string(operation.substr(kSet.size())), arguments[0]);
  }
  return {};
}

void RecordingHostWindow::Answer(std::u16string_view getOperation, Variant value) {
  AnswerWith(getOperation, [value](std::span<const Variant>) { return value; });
}

void RecordingHostWindow::AnswerWith(std::u16string_view getOperation, Answerer answerer) {
  answers_.insert_or_assign(std::u16string(getOperation), std::move(answerer));
}

void RecordingHostWindow::Refuse(std::u16string_view operation) {
  refused_.emplace(operation);
}

std::vector<std::string> RecordingHostWindow::Log() const {
  std::vector<std::string> lines;
  for (const Call& call : calls) {
    std::string line = hcp::Utf16ToUtf8(call.operation) + "(";
    for (std::size_t i = 0; i < call.arguments.size(); ++i)
      line += (i ? ", " : "") + DescribeVariant(call.arguments[i]);
    lines.push_back(line + ")");
  }
  return lines;
}

std::vector<RecordingHostWindow::Call> RecordingHostWindow::CallsTo(
    std::u16string_view operation) const {
  std::vector<Call> selected;
  for (const Call& call : calls) {
    if (call.operation == operation) selected.push_back(call);
  }
  return selected;
}

}  // namespace Halvane_Config
