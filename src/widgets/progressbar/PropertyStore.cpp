#include "widgets/progressbar/PropertyStore.h"

#include <QStringList>

qsizetype ProgressBarPropertyStore::indexOf(const QString& key) const {
    for (qsizetype i = 0; i < entries_.size(); ++i)
        if (entries_[i].first.compare(key, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

QVariant ProgressBarPropertyStore::read(const QString& key, const QVariant& defaultValue) const {
    const qsizetype i = indexOf(key);
    return i < 0 ? defaultValue : entries_[i].second;
}

void ProgressBarPropertyStore::set(const QString& key, const QVariant& value) {
    const qsizetype i = indexOf(key);
    if (i < 0)
        entries_.append({key, value});
    else
        entries_[i].second = value;
}

void ProgressBarPropertyStore::write(const QString& key, const QVariant& value,
                                     const QVariant& defaultValue) {
    if (value == defaultValue) {
        const qsizetype i = indexOf(key);
        if (i >= 0) entries_.removeAt(i);
        return;
    }
    set(key, value);
}

QStringList ProgressBarPropertyStore::keys() const {
    QStringList result;
    for (const auto& entry : entries_)
        result.append(entry.first);
    return result;
}
