#include "websearch/SearchAddress.h"

#include "websearch/Engines.h"

namespace websearch {

QString prepareQuery(const QString& phrase) {
    QString query = phrase;
    query.replace(QChar(u' '), QChar(u'+'));
    return query;
}

namespace {

QString address(const QString& host, const char* path, const char* before, const QString& query,
                const char* after) {
    return QStringLiteral("http://") + host + QLatin1String(path) + QLatin1Char('?') + QLatin1String(before) +
           query + QLatin1String(after);
}

} // namespace

QString googleSearchAddress(const QString& query) {
    return address(engine(Google).homeHost, "/search", "hl=en&lr=&ie=UTF-8&oe=UTF-8&q=", query, "");
}

QString yahooSearchAddress(const QString& query) {
    return address(engine(Yahoo).searchHost, "/search", "p=", query,
                   "&sm=Yahoo%21+Search&fr=FP-tab-web-t&toggle=1&cop=&ei=UTF-8");
}

QString msnSearchAddress(const QString& query) {
    return address(engine(Msn).searchHost, "/results.asp", "q=", query, "&FORM=MSN6B&RS=CHECKED&v=1&cp=1252");
}

QString altavistaSearchAddress(const QString& query) {
    return address(engine(Altavista).homeHost, "/sites/search/web", "q=", query, "&avkw=tgz&kl=XX");
}

QString askJeevesSearchAddress(const QString& query) {
    return address(engine(AskJeeves).homeHost, "/main/askjeeves.asp", "ask=", query, "&o=0&qsrc=0&meta=1");
}

QString lycosSearchAddress(const QString& query) {
    return address(engine(Lycos).searchHost, "/default.asp", "loc=searchbox&tab=&query=", query, "");
}

QString searchAddress(int index, const QString& query) {
    switch (index) {
    case Google:
        return googleSearchAddress(query);
    case Yahoo:
        return yahooSearchAddress(query);
    case Msn:
        return msnSearchAddress(query);
    case Altavista:
        return altavistaSearchAddress(query);
    case AskJeeves:
        return askJeevesSearchAddress(query);
    case Lycos:
        return lycosSearchAddress(query);
    default:
        return {};
    }
}

} // namespace websearch
