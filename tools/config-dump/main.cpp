// halvane-config-dump: shows what is inside an alarm server's configuration files, or
// summarises a whole folder of them. See kDumpUsage.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>

#include "Decoders.h"
#include "DumpOptions.h"
#include "FolderSummary.h"
#include "HalvaneVersion.h"

namespace {

using namespace configdump;

constexpr int kUnreadable = 1;
constexpr int kBadUsage = 2;

void print(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
}

int dumpFolder(const DumpOptions& options) {
  FolderReport report;
  try {
    report = summarizeFolder(*options.folder);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "halvane-config-dump: %s\n", e.what());
    return kUnreadable;
  }
  print(options.json ? renderJson(folderNode(report)) : folderText(report));
  for (const auto& [file, why] : report.unreadable())
    std::fprintf(stderr, "halvane-config-dump: %s: the server cannot load it: %s\n", file.c_str(),
                 why.c_str());
  return report.allReadable() ? 0 : kUnreadable;
}

// Why a path given as FILE cannot be dumped at all, or nothing.
std::optional<std::string> notAFile(const std::string& path) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  if (status.type() == std::filesystem::file_type::not_found) return "no such file";
  if (status.type() == std::filesystem::file_type::directory) return "is a folder: use --folder";
  return std::nullopt;
}

Decoded decode(const std::string& file, FileKind kind, const DumpOptions& options) {
  switch (kind) {
    case FileKind::Receiver:
      return decodeReceiver(file);
    case FileKind::Profile:
      return decodeProfile(file);
    case FileKind::Calendar:
      return decodeCalendar(file, options.allDays);
    case FileKind::Alarm:
      break;
  }
  return decodeAlarms(file, options.offset, options.count);
}

int dumpFiles(const DumpOptions& options) {
  int status = 0;
  Node all = Node::list();
  for (const std::string& file : options.files) {
    if (const std::optional<std::string> why = notAFile(file)) {
      std::fprintf(stderr, "halvane-config-dump: %s: %s\n", file.c_str(), why->c_str());
      status = kUnreadable;
      continue;
    }
    const std::optional<FileKind> kind = options.kind ? options.kind : kindOfFile(file);
    if (!kind) {
      std::fprintf(stderr,
                   "halvane-config-dump: %s: cannot tell what kind of file this is; give "
                   "--kind\n",
                   file.c_str());
      status = kUnreadable;
      continue;
    }
    Decoded decoded = decode(file, *kind, options);
    if (!decoded.readable) {
      std::fprintf(stderr, "halvane-config-dump: %s: %s\n", file.c_str(),
                   decoded.problems.back().c_str());
      status = kUnreadable;
    }
    if (options.json) {
      all.push(std::move(decoded.details));
    } else {
      if (&file != &options.files.front()) print("\n");
      print(renderText(decoded.details));
    }
  }
  if (options.json) print(renderJson(all));
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  const std::optional<DumpOptions> options = parseDumpOptions(argc, argv, error);
  if (!options) {
    std::fprintf(stderr, "halvane-config-dump: %s\nTry 'halvane-config-dump --help'.\n",
                 error.c_str());
    return kBadUsage;
  }
  if (options->help) {
    std::fputs(kDumpUsage, stdout);
    return 0;
  }
  if (options->version) {
    std::printf("halvane-config-dump %s\n", kHalvaneVersion);
    return 0;
  }
  return options->folder ? dumpFolder(*options) : dumpFiles(*options);
}
