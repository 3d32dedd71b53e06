#include "play/Report.h"

#include <cstdio>

namespace Play {
namespace {

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string Milliseconds(std::int64_t nanoseconds) {
  return Format("%.3f", static_cast<double>(nanoseconds) / 1e6);
}

double Seconds(std::int64_t nanoseconds) {
  return static_cast<double>(nanoseconds) / 1e9;
}

double AchievedRate(const Summary& summary) {
  return summary.duration > 0 ? static_cast<double>(summary.tally.sent) / Seconds(summary.duration)
                              : 0;
}

std::string JsonText(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

}  // namespace

std::string SummaryText(const Summary& summary) {
  const Tally& tally = summary.tally;
  std::string text;
  text += "Events read     " + std::to_string(tally.read) + " from " + summary.input + "\n";
  text += "Sent            " + std::to_string(tally.sent) + " by " + summary.method + "\n";
  text += "Not delivered   " + std::to_string(tally.UndeliveredCount());
  std::string reasons;
  for (int i = 0; i < kUndeliveredReasons; ++i) {
    if (tally.undelivered[i] == 0) continue;
    if (!reasons.empty()) reasons += ", ";
    reasons += std::to_string(tally.undelivered[i]) + " " + ReasonText(static_cast<Undelivered>(i));
  }
  if (!reasons.empty()) text += ": " + reasons;
  text += "\n";
  if (tally.badLines > 0)
    text += "Bad lines       " + std::to_string(tally.badLines) + " skipped\n";
  text += "Rate            " + Format("%.1f", AchievedRate(summary)) + " events/s";
  if (summary.rate > 0) text += " (asked " + Format("%g", summary.rate) + ")";
  if (summary.rate == 0) text += " (as fast as the method takes them)";
  text += "\n";
  if (summary.paced && tally.lateness.Count() > 0) {
    text += "Lateness        p50 " + Milliseconds(tally.lateness.Percentile(0.5)) + " ms, p99 " +
            Milliseconds(tally.lateness.Percentile(0.99)) + " ms, max " +
            Milliseconds(tally.lateness.Max()) + " ms; " + std::to_string(tally.late) +
            " more than 1 ms late\n";
  }
  text += "Duration        " + Format("%.3f", Seconds(summary.duration)) + " s\n";
  if (!summary.stopText.empty()) text += "Stopped         " + summary.stopText + "\n";
  return text;
}

std::string SummaryJson(const Summary& summary) {
  const Tally& tally = summary.tally;
  std::string json = "{";
  json += "\"input\":" + JsonText(summary.input);
  json += ",\"method\":" + JsonText(summary.method);
  json += ",\"read\":" + std::to_string(tally.read);
  json += ",\"sent\":" + std::to_string(tally.sent);
  json += ",\"undelivered\":" + std::to_string(tally.UndeliveredCount());
  json += ",\"undelivered_by_reason\":{";
  bool first = true;
  for (int i = 0; i < kUndeliveredReasons; ++i) {
    if (tally.undelivered[i] == 0) continue;
    json += std::string(first ? "" : ",") + "\"" + ReasonKey(static_cast<Undelivered>(i)) +
            "\":" + std::to_string(tally.undelivered[i]);
    first = false;
  }
  json += "}";
  json += ",\"bad_lines\":" + std::to_string(tally.badLines);
  json += ",\"rate\":" + Format("%.3f", AchievedRate(summary));
  json += ",\"target_rate\":" + (summary.rate >= 0 ? Format("%g", summary.rate) : "null");
  if (summary.paced && tally.lateness.Count() > 0) {
    json += ",\"lateness_ms\":{\"p50\":" + Milliseconds(tally.lateness.Percentile(0.5)) +
            ",\"p99\":" + Milliseconds(tally.lateness.Percentile(0.99)) +
            ",\"max\":" + Milliseconds(tally.lateness.Max()) + "}";
  } else {
    json += ",\"lateness_ms\":null";
  }
  json += ",\"late\":" + std::to_string(tally.late);
  json += ",\"duration_s\":" + Format("%.6f", Seconds(summary.duration));
  json += ",\"stopped\":" + (summary.stopKey.empty() ? "null" : JsonText(summary.stopKey));
  json += ",\"stop_reason\":" + (summary.stopText.empty() ? "null" : JsonText(summary.stopText));
  json += ",\"exit_status\":" + std::to_string(summary.exitCode);
  return json + "}\n";
}

void StatusLine::Show(std::int64_t now, const Tally& tally, std::int64_t lateness, bool paced) {
  if (!shown_) return;
  const double elapsed = Seconds(now - lastTime_);
  const double rate = elapsed > 0 ? static_cast<double>(tally.sent - lastSent_) / elapsed : 0;
  lastTime_ = now;
  lastSent_ = tally.sent;
  std::string line =
      "\r\x1b[Ksent " + std::to_string(tally.sent) + ", " + Format("%.0f", rate) + "/s";
  if (paced) line += ", lateness " + Milliseconds(lateness) + " ms";
  line += ", not delivered " + std::to_string(tally.UndeliveredCount());
  std::fputs(line.c_str(), stderr);
  std::fflush(stderr);
  drawn_ = true;
}

void StatusLine::Clear() {
  if (!drawn_) return;
  std::fputs("\r\x1b[K", stderr);
  std::fflush(stderr);
  drawn_ = false;
}

}  // namespace Play
