#include "platform/PathCodec.h"

#include <QMimeData>

namespace platform {

namespace {

// Length of the valid UTF-8 sequence that starts at s[i], or 0 if none does.
int validSequenceLength(const unsigned char* s, qsizetype i, qsizetype n, char32_t& cp) {
    const unsigned char c = s[i];
    int len;
    char32_t min;
    if (c >= 0xC2 && c <= 0xDF) {
        len = 2;
        cp = c & 0x1F;
        min = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        cp = c & 0x0F;
        min = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        cp = c & 0x07;
        min = 0x10000;
    } else {
        return 0;
    }
    if (i + len > n) return 0;
    for (int k = 1; k < len; ++k) {
        if ((s[i + k] & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (s[i + k] & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

} // namespace

void appendDecodedPath(QString& out, QByteArrayView bytes) {
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n && s[i] < 0x80)
        ++i;
    out.append(QLatin1StringView(bytes.data(), i));
    while (i < n) {
        const unsigned char c = s[i];
        if (c < 0x80) {
            out.append(QChar(c));
            ++i;
            continue;
        }
        char32_t cp = 0;
        const int len = validSequenceLength(s, i, n, cp);
        if (len == 0) {
            out.append(QChar(char16_t(0xDC00 + c)));
            ++i;
        } else {
            if (cp >= 0x10000) {
                out.append(QChar(QChar::highSurrogate(cp)));
                out.append(QChar(QChar::lowSurrogate(cp)));
            } else {
                out.append(QChar(char16_t(cp)));
            }
            i += len;
        }
    }
}

QString decodePath(QByteArrayView bytes) {
    QString out;
    out.reserve(bytes.size());
    appendDecodedPath(out, bytes);
    return out;
}

QByteArray encodePath(QStringView text) {
    QByteArray out;
    out.reserve(text.size() * 3 / 2 + 1);
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = text[i].unicode();
        char32_t cp = u;
        if (u < 0x80) {
            out.append(char(u));
            continue;
        }
        if (u >= 0xDC80 && u <= 0xDCFF) {
            out.append(char(u - 0xDC00));
            continue;
        }
        if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(text[i + 1].unicode())) {
            cp = QChar::surrogateToUcs4(u, text[i + 1].unicode());
            ++i;
        } else if (QChar::isSurrogate(u)) {
            cp = 0xFFFD; // a lone surrogate that no decoding produced
        }
        if (cp < 0x800) {
            out.append(char(0xC0 | (cp >> 6)));
            out.append(char(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.append(char(0xE0 | (cp >> 12)));
            out.append(char(0x80 | ((cp >> 6) & 0x3F)));
            out.append(char(0x80 | (cp & 0x3F)));
        } else {
            out.append(char(0xF0 | (cp >> 18)));
            out.append(char(0x80 | ((cp >> 12) & 0x3F)));
            out.append(char(0x80 | ((cp >> 6) & 0x3F)));
            out.append(char(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

QString fileUri(const QString& path) {
    return QStringLiteral("file://") + QString::fromLatin1(encodePath(path).toPercentEncoding("/"));
}

QMimeData* fileMimeData(const QString& path) {
    auto* data = new QMimeData;
    // The text is the path's very bytes, also where they are not valid UTF-8: every text form
    // the desktop asks for (UTF8_STRING, STRING, TEXT) then names the very file, never a stand-in
    // character that a shell would take for a wildcard.
    data->setData(QStringLiteral("text/plain"), encodePath(path));
    data->setData(QStringLiteral("text/uri-list"), fileUri(path).toLatin1() + "\r\n");
    return data;
}

} // namespace platform
