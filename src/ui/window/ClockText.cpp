#include "ui/window/ClockText.h"

namespace pictarix {

QString LongTimeText(const QTime& time, const QLocale& locale) {
  const QString format = locale.timeFormat(QLocale::LongFormat);
  // Drop every unquoted "t" (the zone) with the blanks before it.
  QString cleaned;
  bool quoted = false;
  for (qsizetype i = 0; i < format.size(); ++i) {
    const QChar c = format[i];
    if (c == QLatin1Char('\'')) quoted = !quoted;
    if (!quoted && c == QLatin1Char('t')) {
      while (!cleaned.isEmpty() && cleaned.back().isSpace()) cleaned.chop(1);
      continue;
    }
    cleaned += c;
  }
  return locale.toString(time, cleaned.trimmed());
}

}  // namespace pictarix
