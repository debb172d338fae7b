#include "ClockText.h"

#include <QLocale>
#include <QTime>

std::string ClockText(const QTime &time, const QLocale &locale)
{
    const std::string text = locale.toString(time, QLocale::LongFormat).toStdString();
    const std::size_t colon = text.rfind(':');
    return colon == std::string::npos ? text : text.substr(0, colon);
}
