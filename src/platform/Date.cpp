#include "platform/Date.h"

#include <QDate>
#include <QLocale>
#include <QTime>

#include "platform/QtInternal.h"
#include "platform/Services.h"

namespace tk {

Date::Date() : dt_(services().Now()) {}

String Date::ShortDate() const {
    return S(QLocale::system().toString(QDate(dt_.year, dt_.month, dt_.day), QLocale::ShortFormat));
}

String Date::ShortTime() const {
    return S(QLocale::system().toString(QTime(dt_.hour, dt_.minute, dt_.second),
                                        QLocale::ShortFormat));
}

}  // namespace tk
