#include "common/ProgramServices.h"

#include <utility>

namespace Halvane_Common_Procedures {
namespace {

std::u16string& Folder() {
  static std::u16string folder;
  return folder;
}

LogSink& Sink() {
  static LogSink sink;
  return sink;
}

}  // namespace

const std::u16string& ProgramFolder() {
  return Folder();
}

void SetProgramFolder(std::u16string_view folder) {
  Folder() = folder;
  if (!folder.empty() && folder.back() != u'/') Folder() += u'/';
}

void SetLogSink(LogSink sink) {
  Sink() = std::move(sink);
}

void LogMessage(const std::u16string& text) {
  if (Sink()) Sink()(text);
}

}  // namespace Halvane_Common_Procedures
