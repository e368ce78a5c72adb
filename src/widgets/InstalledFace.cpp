#include "widgets/InstalledFace.h"

#include <algorithm>

#include <QFontDatabase>
#include <QHash>
#include <QStringList>

QString installedFace(const QString& face) {
    // Keyed by the face and its substitutes as they stand: substitutes given later give a
    // face found nowhere before a new chance.
    static QHash<QString, QString> known;
    const QStringList substitutes = QFont::substitutes(face);
    const QString key = face + QChar(u'\n') + substitutes.join(QChar(u'\n'));
    if (const auto it = known.constFind(key); it != known.cend()) return *it;

    const QStringList installed = QFontDatabase::families();
    const auto spelledAsInstalled = [&installed](const QString& name) {
        const auto found = std::find_if(installed.cbegin(), installed.cend(), [&name](const QString& f) {
            return f.compare(name, Qt::CaseInsensitive) == 0;
        });
        return found == installed.cend() ? QString() : *found;
    };
    QString answer = spelledAsInstalled(face);
    for (qsizetype i = 0; answer.isEmpty() && i < substitutes.size(); ++i)
        answer = spelledAsInstalled(substitutes[i]);
    if (answer.isEmpty()) answer = face;
    known.insert(key, answer);
    return answer;
}

QFont withInstalledFace(QFont font) {
    const QString face = installedFace(font.family());
    if (face != font.family()) font.setFamily(face);
    return font;
}
