#include "injector/UserMessages.h"

#include <cstdio>

// A box needs no last line end; a terminal does, and so do scripts reading lines.
void ConsoleMessages::ShowInformation(const QString&, const QString& text) {
  QByteArray bytes = text.toUtf8();
  if (!bytes.endsWith('\n')) bytes += text.contains(u'\r') ? "\r\n" : "\n";
  std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
  std::fflush(stdout);
}

void ConsoleMessages::ShowError(const QString& title, const QString& text) {
  std::fprintf(stderr, "%s: %s\n", title.toUtf8().constData(), text.toUtf8().constData());
}
