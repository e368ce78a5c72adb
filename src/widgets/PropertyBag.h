#pragma once

#include <QFont>
#include <QImage>
#include <QList>
#include <QString>
#include <QVariant>

// The stored settings of one control instance: a key -> typed value map. Keys compare
// without regard to case; the order in which keys were first written is kept. Values are
// integers, booleans, strings, colours (0x00BBGGRR as quint32), fonts and pictures (an
// image or none).
class PropertyBag {
public:
    // A picture stored as none.
    static QVariant noPicture() { return QVariant::fromValue(QImage()); }

    void setInt(const QString& key, int value) { set(key, QVariant(value)); }
    void setBool(const QString& key, bool value) { set(key, QVariant(value)); }
    void setString(const QString& key, const QString& value) { set(key, QVariant(value)); }
    void setColor(const QString& key, quint32 value) { set(key, QVariant(value)); }
    void setFont(const QString& key, const QFont& value) { set(key, QVariant::fromValue(value)); }
    void setPicture(const QString& key, const QImage& value) { set(key, QVariant::fromValue(value)); }
    void set(const QString& key, const QVariant& value);

    bool contains(const QString& key) const { return indexOf(key) >= 0; }
    QVariant value(const QString& key) const;
    // The stored value of key, or def when the key is not stored.
    QVariant read(const QString& key, const QVariant& def) const { return contains(key) ? value(key) : def; }
    // Stores value under key unless it equals def, in which case an earlier value under
    // key is removed: for stores that keep only what differs from the defaults.
    void write(const QString& key, const QVariant& value, const QVariant& def);
    bool remove(const QString& key);
    QStringList keys() const;
    qsizetype size() const { return entries_.size(); }
    bool isEmpty() const { return entries_.isEmpty(); }

    // Typed reads: the default when the key is absent. A value that cannot be converted
    // to the wanted type also yields the default and sets *ok to false (left alone
    // otherwise).
    int readInt(const QString& key, int def, bool* ok = nullptr) const;
    bool readBool(const QString& key, bool def, bool* ok = nullptr) const;
    QString readString(const QString& key, const QString& def, bool* ok = nullptr) const;
    quint32 readColor(const QString& key, quint32 def, bool* ok = nullptr) const;
    QFont readFont(const QString& key, const QFont& def, bool* ok = nullptr) const;
    QImage readPicture(const QString& key, const QImage& def, bool* ok = nullptr) const;

    bool operator==(const PropertyBag& other) const;

private:
    struct Entry {
        QString key;
        QVariant value;
    };
    qsizetype indexOf(const QString& key) const;
    QList<Entry> entries_;
};
