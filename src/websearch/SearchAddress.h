#pragma once

#include <QString>

namespace websearch {

// The query made of a typed phrase: every blank (code 32) becomes "+", one for one.
// Nothing else is touched: no trimming, no escaping; tabs stay tabs.
QString prepareQuery(const QString& phrase);

// Each engine's result-page address for a prepared query, built from fixed texts around
// the query exactly as it stands.
QString googleSearchAddress(const QString& query);
QString yahooSearchAddress(const QString& query);
QString msnSearchAddress(const QString& query);
QString altavistaSearchAddress(const QString& query);
QString askJeevesSearchAddress(const QString& query);
QString lycosSearchAddress(const QString& query);
// The builder of engine index, or an empty text for an index that names no engine.
QString searchAddress(int engine, const QString& query);

} // namespace websearch
