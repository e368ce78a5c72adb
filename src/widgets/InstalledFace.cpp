#include "widgets/InstalledFace.h"

#include <algorithm>

#include <QFontDatabase>
#include <QHash>
#include <QStringList>

QString installedFace(const QString& face) {
    static QHash<QString, QString> known;
    if (const auto it = known.constFind(face); it != known.cend()) return *it;

    const QStringList installed = QFontDatabase::families();
    const auto spelledAsInstalled = [&installed](const QString& name) {
        const auto found = std::find_if(installed.cbegin(), installed.cend(), [&name](const QString& f) {
            return f.compare(name, Qt::CaseInsensitive) == 0;
        });
        return found == installed.cend() ? QString() : *found;
    };
    QString answer = spelledAsInstalled(face);
    if (answer.isEmpty()) {
        for (const QString& substitute : QFont::substitutes(face)) {
            answer = spelledAsInstalled(substitute);
            if (!answer.isEmpty()) break;
        }
    }
    // A name found nowhere is not kept: substitutes given later may still find it a face.
    if (answer.isEmpty()) return face;
    known.insert(face, answer);
    return answer;
}

QFont withInstalledFace(QFont font) {
    const QString face = installedFace(font.family());
    if (face != font.family()) font.setFamily(face);
    return font;
}
