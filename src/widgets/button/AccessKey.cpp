#include "AccessKey.h"

QChar accessKeyOf(const QString& caption) {
    if (caption.size() < 2) return {};
    const qsizetype i = caption.indexOf(QLatin1Char('&'));
    if (i < 0 || i == caption.size() - 1) return {};
    if (caption.at(i + 1) != QLatin1Char('&')) return caption.at(i + 1).toLower();
    // A doubled marker: only the next single marker after it can name a key.
    const qsizetype j = caption.indexOf(QLatin1Char('&'), i + 2);
    if (j >= 0 && j + 1 < caption.size() && caption.at(j + 1) != QLatin1Char('&'))
        return caption.at(j + 1).toLower();
    return {};
}

QString captionWithoutMarkers(const QString& caption) {
    QString out;
    out.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&')) {
            if (i + 1 < caption.size() && caption.at(i + 1) == QLatin1Char('&')) {
                out += QLatin1Char('&');
                ++i;
            }
            continue;
        }
        out += caption.at(i);
    }
    return out;
}
