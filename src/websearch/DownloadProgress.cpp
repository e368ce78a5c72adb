#include "websearch/DownloadProgress.h"

#include "websearch/Engines.h"

#include <cmath>

namespace websearch {

QString downloadProgressPrefix(int engine) {
    return engine == Altavista ? QStringLiteral(" Download Progress  ")
                               : QStringLiteral(" Download Progress   ");
}

qint64 downloadPercent(float barValue, float barMax) {
    const float ratio = barValue / barMax;
    // Round the single-precision ratio to hundredths. The product is exact enough in
    // double precision that only true halves (ratios like 0.125) are ties, and those go
    // to the even hundredth, as rint does in the default rounding mode.
    const double hundredths = static_cast<double>(ratio) * 100.0;
    if (!std::isfinite(hundredths)) return 0;
    return static_cast<qint64>(std::nearbyint(hundredths));
}

QString downloadProgressText(int engine, int progress, float barValue, float barMax) {
    if (progress == 0) return QStringLiteral("Download Progress  100 %  Completed");
    return downloadProgressPrefix(engine) + QString::number(downloadPercent(barValue, barMax)) +
           QStringLiteral("   %   Completed");
}

} // namespace websearch
