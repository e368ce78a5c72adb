#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

// The keyed property store that a window definition keeps for one instance of the
// progress bar: key -> typed value, in the order the values were written. Keys compare
// without regard to case.
class ProgressBarPropertyStore {
public:
    // The stored value of key, or defaultValue when the key is not stored.
    QVariant read(const QString& key, const QVariant& defaultValue) const;
    // Stores value under key, replacing an earlier value in its place. A value equal to
    // its default is not stored (an earlier value under that key is removed).
    void write(const QString& key, const QVariant& value, const QVariant& defaultValue);
    // Stores value under key whatever its default.
    void set(const QString& key, const QVariant& value);

    bool contains(const QString& key) const { return indexOf(key) >= 0; }
    QStringList keys() const;
    bool isEmpty() const { return entries_.isEmpty(); }

private:
    qsizetype indexOf(const QString& key) const;
    QList<QPair<QString, QVariant>> entries_;
};
