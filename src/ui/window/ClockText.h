#pragma once
// The text of the status bar's clock.
#include <QLocale>
#include <QString>
#include <QTime>

namespace pictarix {

// The time in the locale's long time format, without the time-zone name that Qt's long format
// carries: hours, minutes and seconds as the locale orders them.
QString LongTimeText(const QTime& time, const QLocale& locale = QLocale::system());

}  // namespace pictarix
