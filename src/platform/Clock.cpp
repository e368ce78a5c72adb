#include "platform/Clock.h"

namespace platform {

QDateTime SystemClock::now() const {
    return QDateTime::currentDateTime();
}

} // namespace platform
