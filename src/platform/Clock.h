#pragma once

#include <QDateTime>

namespace platform {

// The time source of the window's clock; tests give it a fixed time.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock : public Clock {
public:
    QDateTime now() const override;
};

} // namespace platform
