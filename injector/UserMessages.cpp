#include "injector/UserMessages.h"

#include <cstdio>

void ConsoleMessages::ShowInformation(const QString&, const QString& text) {
  const QByteArray bytes = text.toUtf8();
  std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
  std::fflush(stdout);
}

void ConsoleMessages::ShowError(const QString& title, const QString& text) {
  std::fprintf(stderr, "%s: %s\n", title.toUtf8().constData(), text.toUtf8().constData());
}
