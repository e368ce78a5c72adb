#include "widgets/PropertyBag.h"

#include <QPixmap>

qsizetype PropertyBag::indexOf(const QString& key) const {
    for (qsizetype i = 0; i < entries_.size(); ++i)
        if (entries_.at(i).key.compare(key, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

void PropertyBag::set(const QString& key, const QVariant& value) {
    const qsizetype i = indexOf(key);
    if (i >= 0)
        entries_[i].value = value;
    else
        entries_.append({key, value});
}

QVariant PropertyBag::value(const QString& key) const {
    const qsizetype i = indexOf(key);
    return i >= 0 ? entries_.at(i).value : QVariant();
}

void PropertyBag::write(const QString& key, const QVariant& value, const QVariant& def) {
    if (value == def)
        remove(key);
    else
        set(key, value);
}

bool PropertyBag::remove(const QString& key) {
    const qsizetype i = indexOf(key);
    if (i < 0) return false;
    entries_.removeAt(i);
    return true;
}

QStringList PropertyBag::keys() const {
    QStringList out;
    for (const Entry& e : entries_)
        out << e.key;
    return out;
}

namespace {
void fail(bool* ok) {
    if (ok) *ok = false;
}
} // namespace

int PropertyBag::readInt(const QString& key, int def, bool* ok) const {
    const qsizetype i = indexOf(key);
    if (i < 0) return def;
    const QVariant& v = entries_.at(i).value;
    if (v.typeId() == QMetaType::Bool) return v.toBool() ? -1 : 0;
    bool good = false;
    const qlonglong n = v.toLongLong(&good);
    if (good && n >= -2147483648LL && n <= 4294967295LL) return qint32(quint32(quint64(n)));
    fail(ok);
    return def;
}

bool PropertyBag::readBool(const QString& key, bool def, bool* ok) const {
    const qsizetype i = indexOf(key);
    if (i < 0) return def;
    const QVariant& v = entries_.at(i).value;
    if (v.typeId() == QMetaType::Bool) return v.toBool();
    if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString().trimmed();
        if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) return true;
        if (s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) return false;
    }
    bool good = false;
    const qlonglong n = v.toLongLong(&good);
    if (good) return n != 0;
    fail(ok);
    return def;
}

QString PropertyBag::readString(const QString& key, const QString& def, bool* ok) const {
    const qsizetype i = indexOf(key);
    if (i < 0) return def;
    const QVariant& v = entries_.at(i).value;
    if (v.canConvert<QString>()) return v.toString();
    fail(ok);
    return def;
}

quint32 PropertyBag::readColor(const QString& key, quint32 def, bool* ok) const {
    const qsizetype i = indexOf(key);
    if (i < 0) return def;
    bool good = false;
    const qlonglong n = entries_.at(i).value.toLongLong(&good);
    if (good && n >= -2147483648LL && n <= 4294967295LL) return quint32(n);
    fail(ok);
    return def;
}

QFont PropertyBag::readFont(const QString& key, const QFont& def, bool* ok) const {
    const qsizetype i = indexOf(key);
    if (i < 0) return def;
    const QVariant& v = entries_.at(i).value;
    if (v.typeId() == QMetaType::QFont) return v.value<QFont>();
    if (v.typeId() == QMetaType::QString) {
        QFont f;
        if (f.fromString(v.toString())) return f;
    }
    fail(ok);
    return def;
}

QImage PropertyBag::readPicture(const QString& key, const QImage& def, bool* ok) const {
    const qsizetype i = indexOf(key);
    if (i < 0) return def;
    const QVariant& v = entries_.at(i).value;
    if (v.typeId() == QMetaType::QImage) return v.value<QImage>();
    if (v.typeId() == QMetaType::QPixmap) return v.value<QPixmap>().toImage();
    if (!v.isValid()) return QImage();
    fail(ok);
    return def;
}

bool PropertyBag::operator==(const PropertyBag& other) const {
    if (entries_.size() != other.entries_.size()) return false;
    for (const Entry& e : entries_) {
        const qsizetype j = other.indexOf(e.key);
        if (j < 0 || other.entries_.at(j).value != e.value) return false;
    }
    return true;
}
