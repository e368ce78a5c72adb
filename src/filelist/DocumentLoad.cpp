#include "filelist/DocumentLoad.h"

#include "search/ResultList.h"

namespace filelist {

void DocumentLoad::start(const QString& name) {
    result_ = std::make_shared<PlaylistResult>();
    startWork(
        [result = result_, name](search::EntryFeed& feed) {
            *result = OpenPlaylist(
                name,
                [&](QByteArrayView entry) {
                    feed.add(search::EntryFeed::kEntry, std::string_view(entry.data(), size_t(entry.size())));
                },
                [&] { return feed.stopped(); });
            return !feed.stopped();
        },
        search::ResultList::kViewRefreshMs);
}

} // namespace filelist
