#include "FolderSummary.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

namespace configdump {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kNameColumnLimit = 32;

struct Place {
  std::string subfolder;  // "" for the folder itself
  std::vector<FileKind> kinds;
};

bool isDirectory(const fs::path& path) {
  std::error_code error;
  return fs::is_directory(path, error);
}

// The characters (not bytes) of a UTF-8 text.
std::size_t width(const std::string& utf8) {
  return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

std::string padded(const std::string& text, std::size_t columns) {
  const std::size_t shown = width(text);
  return text + std::string(shown < columns ? columns - shown : 0, ' ');
}

// What an entry that is not a file of the kinds looked for is.
std::string whyLeftOut(const fs::directory_entry& entry, const std::vector<FileKind>& kinds) {
  std::error_code error;
  if (!entry.is_regular_file(error)) return "not a file";
  const std::string name = entry.path().filename().string();
  if (name.size() > 4 && name[0] == '.' && name.compare(name.size() - 4, 4, ".new") == 0) {
    return "left behind by a save that was cut short";
  }
  if (kinds.size() == 2) return "neither a receiver nor a profile file";
  return kinds.front() == FileKind::Receiver ? "not a receiver file" : "not a profile file";
}

void scanPlace(const fs::path& root, const Place& place, FolderReport& report) {
  const fs::path folder = place.subfolder.empty() ? root : root / place.subfolder;
  std::vector<fs::directory_entry> entries;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
    entries.push_back(*it);
  if (error) throw std::runtime_error("cannot list " + folder.string() + ": " + error.message());
  std::sort(entries.begin(), entries.end());

  for (const fs::directory_entry& entry : entries) {
    const std::string name = entry.path().filename().string();
    if (place.subfolder.empty() && name == kCalendarFileName) continue;  // see the calendar
    const std::string shown = place.subfolder.empty() ? name : place.subfolder + "/" + name;
    bool taken = false;
    std::error_code typeError;
    for (FileKind kind : place.kinds) {
      const std::optional<int> identity = identityOfFileName(name, kind);
      if (!identity || !entry.is_regular_file(typeError)) continue;
      const std::string path = entry.path().string();
      FolderEntry found{shown, *identity,
                        kind == FileKind::Receiver ? decodeReceiver(path) : decodeProfile(path)};
      (kind == FileKind::Receiver ? report.receivers : report.profiles).push_back(std::move(found));
      taken = true;
    }
    if (!taken) report.otherFiles.emplace_back(shown, whyLeftOut(entry, place.kinds));
  }
}

std::string cut(const std::string& text) {
  if (width(text) <= kNameColumnLimit) return text;
  std::string shortened;
  std::size_t characters = 0;
  for (char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80 && ++characters > kNameColumnLimit - 3)
      break;
    shortened += c;
  }
  return shortened + "...";
}

void appendTable(const char* title, const std::vector<FolderEntry>& entries, std::string& out) {
  const std::size_t unreadable = static_cast<std::size_t>(std::count_if(
      entries.begin(), entries.end(), [](const FolderEntry& e) { return !e.decoded.readable; }));
  out += std::string(title) + ": " + std::to_string(entries.size());
  if (unreadable > 0) out += ", " + std::to_string(unreadable) + " the server cannot load";
  out += "\n";
  if (entries.empty()) return;

  std::vector<std::vector<std::string>> rows{
      {"identity", "version", "enabled", "name", "file", "problems"}};
  for (const FolderEntry& entry : entries) {
    const Decoded& d = entry.decoded;
    rows.push_back({std::to_string(entry.identity), d.version ? std::to_string(*d.version) : "-",
                    d.enabled ? (*d.enabled ? "yes" : "no") : "-",
                    d.name ? cut(quoted(*d.name)) : "-", entry.file,
                    d.problems.empty() ? "-" : d.problems.front()});
  }
  std::vector<std::size_t> columns(rows.front().size() - 1, 0);
  for (const auto& row : rows) {
    for (std::size_t c = 0; c < columns.size(); ++c)
      columns[c] = std::max(columns[c], width(row[c]));
  }
  std::size_t indent = 2;
  for (std::size_t c : columns)
    indent += c + 2;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    std::string line = "  ";
    for (std::size_t c = 0; c < columns.size(); ++c)
      line += padded(rows[r][c], columns[c] + 2);
    out += line + rows[r].back() + "\n";
    if (r == 0) continue;
    const std::vector<std::string>& problems = entries[r - 1].decoded.problems;
    for (std::size_t p = 1; p < problems.size(); ++p)
      out += std::string(indent, ' ') + problems[p] + "\n";
  }
}

void appendCalendar(const FolderReport& report, std::string& out) {
  if (!report.calendar) {
    out += std::string("Calendar: no ") + kCalendarFileName + "\n";
    return;
  }
  const Decoded& calendar = *report.calendar;
  std::vector<std::string> problems = calendar.problems;
  out += std::string("Calendar: ") + kCalendarFileName;
  if (calendar.size) out += ", " + std::to_string(*calendar.size) + " bytes";
  if (calendar.readable) {
    out += ", " + calendar.contents + "\n";
  } else {
    out += ", the server cannot load it: " + problems.back() + "\n";
    problems.pop_back();
  }
  for (const std::string& problem : problems)
    out += "  " + problem + "\n";
}

Node calendarNode(const FolderReport& report) {
  if (!report.calendar) return Node();
  const Decoded& calendar = *report.calendar;
  return Node::object()
      .add("file", Node::text(kCalendarFileName))
      .add("size", calendar.size ? Node::integer(*calendar.size) : Node())
      .add("loads", Node::boolean(calendar.readable))
      .add("contents", calendar.readable ? Node::text(calendar.contents) : Node())
      .add("problems", calendar.problemsNode());
}

Node entriesNode(const std::vector<FolderEntry>& entries) {
  Node list = Node::list();
  for (const FolderEntry& entry : entries) {
    const Decoded& d = entry.decoded;
    list.push(Node::object()
                  .add("file", Node::text(entry.file))
                  .add("identity", Node::integer(entry.identity))
                  .add("version", d.version ? Node::integer(*d.version) : Node())
                  .add("enabled", d.enabled ? Node::boolean(*d.enabled) : Node())
                  .add("name", d.name ? Node::text(*d.name) : Node())
                  .add("loads", Node::boolean(d.readable))
                  .add("problems", d.problemsNode()));
  }
  return list;
}

}  // namespace

bool FolderReport::allReadable() const {
  return unreadable().empty();
}

std::vector<std::pair<std::string, std::string>> FolderReport::unreadable() const {
  std::vector<std::pair<std::string, std::string>> files;
  for (const std::vector<FolderEntry>* entries : {&receivers, &profiles}) {
    for (const FolderEntry& entry : *entries) {
      if (!entry.decoded.readable) files.emplace_back(entry.file, entry.decoded.problems.back());
    }
  }
  if (calendar && !calendar->readable)
    files.emplace_back(kCalendarFileName, calendar->problems.back());
  return files;
}

FolderReport summarizeFolder(const std::string& folder) {
  const fs::path root(folder);
  if (!isDirectory(root)) throw std::runtime_error(folder + " is not a folder");
  FolderReport report;
  report.folder = folder;
  const bool receivers = isDirectory(root / "Receivers");
  const bool profiles = isDirectory(root / "Profiles");
  if (!receivers && !profiles) {
    scanPlace(root, {"", {FileKind::Receiver, FileKind::Profile}}, report);
  } else {
    if (receivers) scanPlace(root, {"Receivers", {FileKind::Receiver}}, report);
    if (profiles) scanPlace(root, {"Profiles", {FileKind::Profile}}, report);
  }
  std::error_code error;
  const fs::path calendar = root / kCalendarFileName;
  if (fs::exists(fs::symlink_status(calendar, error))) {
    report.calendar = decodeCalendar(calendar.string(), false);
  }
  return report;
}

std::string folderText(const FolderReport& report) {
  std::string out = "Folder " + report.folder + "\n";
  appendTable("Receivers", report.receivers, out);
  appendTable("Profiles", report.profiles, out);
  appendCalendar(report, out);
  if (!report.otherFiles.empty()) {
    out += "Other files: " + std::to_string(report.otherFiles.size()) + "\n";
    for (const auto& [file, why] : report.otherFiles)
      out += "  " + file + ": " + why + "\n";
  }
  return out;
}

Node folderNode(const FolderReport& report) {
  Node others = Node::list();
  for (const auto& [file, why] : report.otherFiles)
    others.push(Node::object().add("file", Node::text(file)).add("note", Node::text(why)));
  return Node::object()
      .add("folder", Node::text(report.folder))
      .add("receivers", entriesNode(report.receivers))
      .add("profiles", entriesNode(report.profiles))
      .add("calendar", calendarNode(report))
      .add("other files", others);
}

}  // namespace configdump
