// button-gallery: draws every style of the button control in every look into one PNG
// sheet, or one button into its own PNG, for looking at the drawings pixel by pixel.
#include "ButtonSheet.h"

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <vector>

namespace {

// Colour values as the button settings write them: 0x00BBGGRR in hexadecimal ("0x..." or
// "&H...") or decimal.
bool parseColour(const QString& text, quint32* out) {
    QString t = text.trimmed();
    bool ok = false;
    qulonglong v = 0;
    if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        v = t.mid(2).toULongLong(&ok, 16);
    else if (t.startsWith(QLatin1String("&H"), Qt::CaseInsensitive))
        v = t.mid(2).remove(QLatin1Char('&')).toULongLong(&ok, 16);
    else
        v = t.toULongLong(&ok, 10);
    if (!ok || v > 0xFFFFFFFFull) return false;
    *out = quint32(v);
    return true;
}

int fail(const QString& message) {
    std::fprintf(stderr, "button-gallery: %s\n", qPrintable(message));
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // QApplication would take --style for itself: it sees the arguments without it, the
    // parser sees them all.
    QStringList arguments;
    std::vector<char*> qtArgs;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
        const QByteArray a(argv[i]);
        if (i > 0 && (a == "--style" || a == "-style")) {
            if (i + 1 < argc) arguments << QString::fromLocal8Bit(argv[++i]);
            continue;
        }
        if (i > 0 && (a.startsWith("--style=") || a.startsWith("-style="))) continue;
        qtArgs.push_back(argv[i]);
    }
    int qtArgc = int(qtArgs.size());
    qtArgs.push_back(nullptr);
    QApplication app(qtArgc, qtArgs.data());
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Draws every button style in every look (up, hover, down, focus, default, disabled) into one PNG "
        "sheet, or a single button with --style and --look; with --picture the buttons carry a picture, "
        "in every position. Pixels outside the button's shape are transparent."));
    parser.addHelpOption();
    const QCommandLineOption outOpt(QStringLiteral("out"), QStringLiteral("PNG file to write."),
                                    QStringLiteral("FILE.png"));
    const QCommandLineOption styleOpt(QStringLiteral("style"), QStringLiteral("One style, 1..14."),
                                      QStringLiteral("N"));
    const QCommandLineOption lookOpt(
        QStringLiteral("look"),
        QStringLiteral("The look of the single button: up|hover|down|focus|default|"
                       "disabled (default up)."),
        QStringLiteral("LOOK"), QStringLiteral("up"));
    const QCommandLineOption widthOpt(QStringLiteral("width"), QStringLiteral("Width in pixels (67)."),
                                      QStringLiteral("W"), QStringLiteral("67"));
    const QCommandLineOption heightOpt(QStringLiteral("height"), QStringLiteral("Height in pixels (25)."),
                                       QStringLiteral("H"), QStringLiteral("25"));
    const QCommandLineOption captionOpt(QStringLiteral("caption"), QStringLiteral("Caption (\"Search\")."),
                                        QStringLiteral("TEXT"), QStringLiteral("Search"));
    const QCommandLineOption schemeOpt(QStringLiteral("scheme"), QStringLiteral("Colour scheme (2)."),
                                       QStringLiteral("N"), QStringLiteral("2"));
    const QCommandLineOption backOpt(QStringLiteral("back"),
                                     QStringLiteral("Face colour, 0x00BBGGRR (0xE0E0E0)."),
                                     QStringLiteral("COLOUR"), QStringLiteral("0xE0E0E0"));
    const QCommandLineOption backOverOpt(QStringLiteral("back-over"),
                                         QStringLiteral("Hovered face colour (0xE0E0E0)."),
                                         QStringLiteral("COLOUR"), QStringLiteral("0xE0E0E0"));
    const QCommandLineOption foreOpt(QStringLiteral("fore"), QStringLiteral("Caption colour (0xFF0000)."),
                                     QStringLiteral("COLOUR"), QStringLiteral("0xFF0000"));
    const QCommandLineOption foreOverOpt(QStringLiteral("fore-over"),
                                         QStringLiteral("Hovered caption colour (0xFF0000)."),
                                         QStringLiteral("COLOUR"), QStringLiteral("0xFF0000"));
    const QCommandLineOption maskOpt(QStringLiteral("mask"), QStringLiteral("Mask colour (0xC0C0C0)."),
                                     QStringLiteral("COLOUR"), QStringLiteral("0xC0C0C0"));
    const QCommandLineOption fontSizeOpt(QStringLiteral("font-size"),
                                         QStringLiteral("Font size in points (8.25)."), QStringLiteral("PT"),
                                         QStringLiteral("8.25"));
    const QCommandLineOption boldOpt(QStringLiteral("bold"), QStringLiteral("Bold caption (the default)."));
    const QCommandLineOption regularOpt(QStringLiteral("regular"), QStringLiteral("Caption not bold."));
    const QCommandLineOption pictureOpt(
        QStringLiteral("picture"),
        QStringLiteral(
            "Give the buttons a picture: the gallery's own 16x16 one, or FILE with --picture-file."));
    const QCommandLineOption pictureFileOpt(QStringLiteral("picture-file"),
                                            QStringLiteral("Image file for the picture (implies --picture)."),
                                            QStringLiteral("FILE"));
    const QCommandLineOption pictureOverOpt(
        QStringLiteral("picture-over"),
        QStringLiteral("Also a hover picture (the gallery's own, recoloured)."));
    const QCommandLineOption positionOpt(
        QStringLiteral("picture-position"),
        QStringLiteral("Picture position 0..4, or \"all\" for a row per position "
                       "(default all with a picture)."),
        QStringLiteral("N"), QStringLiteral("all"));
    const QCommandLineOption greyOpt(QStringLiteral("greyscale"),
                                     QStringLiteral("Picture grey while not hovered."));
    const QCommandLineOption effectOpt(QStringLiteral("effect"), QStringLiteral("Relief effect 0..3 (0)."),
                                       QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption stylesOpt(QStringLiteral("styles"),
                                       QStringLiteral("The sheet's styles, comma-separated (all 14)."),
                                       QStringLiteral("LIST"));
    parser.addOptions({outOpt,      styleOpt, lookOpt,     widthOpt,   heightOpt,      captionOpt,
                       schemeOpt,   backOpt,  backOverOpt, foreOpt,    foreOverOpt,    maskOpt,
                       fontSizeOpt, boldOpt,  regularOpt,  pictureOpt, pictureFileOpt, pictureOverOpt,
                       positionOpt, greyOpt,  effectOpt,   stylesOpt});
    parser.process(arguments);

    if (!parser.isSet(outOpt)) return fail(QStringLiteral("--out FILE.png is required."));
    GalleryOptions o;
    bool ok = false;
    o.width = parser.value(widthOpt).toInt(&ok);
    if (!ok || o.width < 1 || o.width > 2000)
        return fail(QStringLiteral("--width must be a whole number of pixels from 1 to 2000."));
    o.height = parser.value(heightOpt).toInt(&ok);
    if (!ok || o.height < 1 || o.height > 2000)
        return fail(QStringLiteral("--height must be a whole number of pixels from 1 to 2000."));
    o.scheme = parser.value(schemeOpt).toInt(&ok);
    if (!ok) return fail(QStringLiteral("--scheme must be a whole number."));
    o.caption = parser.value(captionOpt);
    const struct {
        const QCommandLineOption& option;
        quint32* target;
    } colours[] = {{backOpt, &o.back},
                   {backOverOpt, &o.backOver},
                   {foreOpt, &o.fore},
                   {foreOverOpt, &o.foreOver},
                   {maskOpt, &o.mask}};
    for (const auto& c : colours)
        if (!parseColour(parser.value(c.option), c.target))
            return fail(
                QStringLiteral("--%1 must be a colour value such as 0xE0E0E0 (0x00BBGGRR), not \"%2\".")
                    .arg(c.option.names().constFirst(), parser.value(c.option)));
    o.fontSize = parser.value(fontSizeOpt).toDouble(&ok);
    if (!ok || o.fontSize <= 0 || o.fontSize > 200)
        return fail(QStringLiteral("--font-size must be a number of points above 0."));
    if (parser.isSet(boldOpt) && parser.isSet(regularOpt))
        return fail(QStringLiteral("--bold and --regular exclude each other."));
    o.bold = !parser.isSet(regularOpt);

    if (parser.isSet(pictureFileOpt)) {
        o.picture = QImage(parser.value(pictureFileOpt));
        if (o.picture.isNull())
            return fail(QStringLiteral("cannot read the picture \"%1\".").arg(parser.value(pictureFileOpt)));
    } else if (parser.isSet(pictureOpt)) {
        o.picture = galleryPicture(o.mask, false);
    }
    if (parser.isSet(pictureOverOpt)) {
        if (o.picture.isNull()) return fail(QStringLiteral("--picture-over needs --picture."));
        o.pictureOver = galleryPicture(o.mask, true);
    }
    const QString position = parser.value(positionOpt);
    if (position == QLatin1String("all")) {
        o.everyPosition = true;
    } else {
        o.picturePosition = position.toInt(&ok);
        if (!ok || o.picturePosition < 0 || o.picturePosition > 4)
            return fail(QStringLiteral("--picture-position must be 0..4 or all."));
    }
    o.greyscale = parser.isSet(greyOpt);
    o.effect = parser.value(effectOpt).toInt(&ok);
    if (!ok || o.effect < 0) return fail(QStringLiteral("--effect must be 0..3."));
    if (parser.isSet(stylesOpt)) {
        o.styles.clear();
        for (const QString& part : parser.value(stylesOpt).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const int style = part.trimmed().toInt(&ok);
            if (!ok) return fail(QStringLiteral("--styles must list whole numbers, such as 3,9."));
            o.styles.append(style);
        }
        if (o.styles.isEmpty()) return fail(QStringLiteral("--styles lists no style."));
    }

    QImage image;
    if (parser.isSet(styleOpt)) {
        const int style = parser.value(styleOpt).toInt(&ok);
        if (!ok) return fail(QStringLiteral("--style must be a whole number (1..14)."));
        const QString look = parser.value(lookOpt);
        if (!galleryLooks().contains(look))
            return fail(
                QStringLiteral("--look must be one of %1.").arg(galleryLooks().join(QLatin1Char('|'))));
        if (o.everyPosition) o.picturePosition = 0;
        image = renderButton(o, style, look);
    } else {
        if (parser.isSet(lookOpt)) return fail(QStringLiteral("--look needs --style."));
        image = renderSheet(o);
    }
    if (!image.save(parser.value(outOpt), "PNG"))
        return fail(QStringLiteral("cannot write \"%1\".").arg(parser.value(outOpt)));
    return 0;
}
