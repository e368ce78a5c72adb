#pragma once

#include <QString>

#include <array>

namespace websearch {

// The engine index names a search engine everywhere: the item of the engine chooser,
// the tab, the pane, the address builder and the progress prefix.
enum EngineIndex { Google = 0, Yahoo = 1, Msn = 2, Altavista = 3, AskJeeves = 4, Lycos = 5 };
constexpr int kEngineCount = 6;

struct Engine {
    int index;
    QString comboItem;  // its item in the engine chooser
    QString tabCaption; // its tab caption
    QString homeHost;   // host of the home page (Google, Altavista and Ask Jeeves search there too)
    QString searchHost; // host of the result pages
};

// The six engines in engine-index order.
const std::array<Engine, kEngineCount>& engines();
const Engine& engine(int index);
bool isEngineIndex(int index);

// "http://" and the engine's home host, nothing after it.
QString homeAddress(int index);

// The order in which Search All runs the builders: MSN, Google, Yahoo, Lycos, Ask Jeeves,
// Altavista.
constexpr std::array<int, kEngineCount> kSearchAllOrder = {Msn, Google, Yahoo, Lycos, AskJeeves, Altavista};

// Developer and test use only: the program itself always uses the real engines.
// Sends one engine to other hosts, every engine (home and search pages alike) to one host
// (for example "127.0.0.1:8080"), or every engine back to its real hosts.
void setHosts(int index, const QString& homeHost, const QString& searchHost);
void pointAllHostsAt(const QString& host);
void restoreDefaultHosts();

} // namespace websearch
