// A moment in local time. A new Date holds now.
#pragma once

#include "platform/Types.h"

namespace tk {

struct DateTime {
    int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

class Date {
public:
    Date();  // now, from the system's clock service
    explicit Date(const DateTime& dt) : dt_(dt) {}
    // The system's short formats.
    String ShortDate() const;
    String ShortTime() const;
    const DateTime& Value() const { return dt_; }

private:
    DateTime dt_;
};

}  // namespace tk
