// The path codec against any bytes: decoding and encoding again gives back the bytes; appending the
// decoded form to a text appends just that; U+FFFD appears only where the bytes hold its own UTF-8
// form, and valid UTF-8 decodes as Qt decodes it; UTF-16 text without lone surrogates survives
// encoding and decoding.
#include "platform/PathCodec.h"

#include <cstdio>
#include <cstdlib>

namespace {
[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "path codec: %s\n", what), std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = platform::decodePath(bytes);
    if (platform::encodePath(text) != bytes) fail("decode then encode changed the bytes");
    QString appended = "/a/";
    platform::appendDecodedPath(appended, bytes);
    if (QStringView(appended).sliced(3) != text) fail("appending decodes differently");
    if (text.count(QChar(0xFFFD)) != bytes.toByteArray().count("\xEF\xBF\xBD"))
        fail("a replacement character stands for other bytes");
    const QString qtText = QString::fromUtf8(bytes);
    if (qtText.toUtf8() == bytes && qtText != text) fail("valid UTF-8 decodes differently from Qt");
    const QStringView units(reinterpret_cast<const char16_t*>(data), qsizetype(size / 2));
    if (units.isValidUtf16() && platform::decodePath(platform::encodePath(units)) != units)
        fail("text without lone surrogates did not survive encoding and decoding");
    return 0;
}
