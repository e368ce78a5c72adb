#include "websearch/Engines.h"

namespace websearch {

namespace {

std::array<Engine, kEngineCount> defaultEngines() {
    return {{
        {Google, QStringLiteral("Google"), QStringLiteral("GOOGLE"), QStringLiteral("www.google.com"),
         QStringLiteral("www.google.com")},
        {Yahoo, QStringLiteral("Yahoo"), QStringLiteral("YAHOO"), QStringLiteral("www.yahoo.com"),
         QStringLiteral("search.yahoo.com")},
        {Msn, QStringLiteral("Msn"), QStringLiteral("MSN"), QStringLiteral("www.msn.com"),
         QStringLiteral("search.msn.com")},
        {Altavista, QStringLiteral("Altavista"), QStringLiteral("ALTAVISTA"),
         QStringLiteral("www.altavista.com"), QStringLiteral("www.altavista.com")},
        {AskJeeves, QStringLiteral("Ask Jeeves"), QStringLiteral("ASK JEEVES"), QStringLiteral("www.ask.com"),
         QStringLiteral("www.ask.com")},
        {Lycos, QStringLiteral("Lycos"), QStringLiteral("LYCOS"), QStringLiteral("www.lycos.com"),
         QStringLiteral("search.lycos.com")},
    }};
}

std::array<Engine, kEngineCount>& table() {
    static std::array<Engine, kEngineCount> engines = defaultEngines();
    return engines;
}

} // namespace

const std::array<Engine, kEngineCount>& engines() {
    return table();
}

bool isEngineIndex(int index) {
    return index >= 0 && index < kEngineCount;
}

const Engine& engine(int index) {
    return table().at(static_cast<std::size_t>(index));
}

QString homeAddress(int index) {
    return QStringLiteral("http://") + engine(index).homeHost;
}

void setHosts(int index, const QString& homeHost, const QString& searchHost) {
    Engine& e = table().at(static_cast<std::size_t>(index));
    e.homeHost = homeHost;
    e.searchHost = searchHost;
}

void pointAllHostsAt(const QString& host) {
    for (Engine& e : table()) {
        e.homeHost = host;
        e.searchHost = host;
    }
}

void restoreDefaultHosts() {
    table() = defaultEngines();
}

} // namespace websearch
