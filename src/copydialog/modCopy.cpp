#include "copydialog/modCopy.h"

#include "platform/FileCopy.h"
#include "platform/MessageBoxes.h"

namespace modCopy {

namespace {

struct FilterRule {
    const char* code;
    const char* label;
    const char* pattern;
};

// In the order they are applied; a code's length is the number of characters compared.
const FilterRule kRules[] = {
    {"txt", "Text File  ( .TXT )", "*.TXT"},
    {"HTML", "Web Page  ( .HTML )", "*.HTML"},
    {"HTM", "Web Page  ( .HTM )", "*.HTM"},
    {"DOC", "Word File  ( .DOC )", "*.DOC"},
    {"MP3", "MP3 File  ( .MP3 )", "*.MP3"},
    {"JPG", "IMAGE File  ( .JPG )", "*.JPG"},
    {"GIF", "IMAGE File  ( .GIF )", "*.GIF"},
    {"JPEG", "IMAGE File  ( .JPEG )", "*.JPEG"},
    {"AVI", "VIDEO File  ( .AVI )", "*.AVI"},
    {"DAT", "VIDEO File  ( .DAT )", "*.DAT"},
    {"WAV", "AUDIO File  ( .WAV )", "*.WAV"},
    {"WMA", "AUDIO File  ( .WMA )", "*.WMA"},
    {"WMV", "VIDEO File  ( .WMV )", "*.WMV"},
    {"MPEG", "VIDEO File  ( .MPEG )", "*.MPEG"},
    {"PDF", "Portable Document Format (.PDF)", "*.PDF"},
    {"ICO", "IMAGE ICON File ( .ICO )", "*.ICO"},
    {"SK2", "Chem Sketch File ( .SK2 )", "*.SK2"},
    {"EXE", "Executable File  ( .EXE )", "*.EXE"},
    {"INI", "System File  ( .INI )", "*.INI"},
    {"DLL", "Dynamic Link Library File  ( .DLL )", "*.DLL"},
    {"ocx", "Support File  ( .ocx )", "*.ocx"},
    {"XLS", "Excel File  (.XLS )", "*.XLS"},
    {"MDB", "Access Database File  (.MDB )", "*.MDB"},
    {"PPT", "Power Point Presentation File  (.PPT )", "*.PPT"},
    {"ZIP", "Compressed File  (.ZIP )", "*.ZIP"},
    {"RAR", "Compressed File  (.RAR )", "*.RAR"},
    {"RM", "Real Media File  (.RM )", "*.RM"},
};

void showMessage(platform::MessageBoxes& boxes, QWidget* owner, const QString& text) {
    platform::MessageBoxRequest r;
    r.text = text; // title "ORVIK SEARCHER", OK, no icon
    boxes.show(owner, r);
}

} // namespace

QString BrowseFilter(const QString& sourcePath, const QString& currentFilter) {
    QString filter = currentFilter;
    for (const FilterRule& rule : kRules) {
        const QString code = QString::fromLatin1(rule.code).toLower();
        if (sourcePath.right(code.size()).toLower() == code)
            filter = QString::fromLatin1(rule.label) + QLatin1Char('|') + QString::fromLatin1(rule.pattern);
    }
    return filter;
}

void PasteFile(std::shared_ptr<platform::FileCopier> copier, std::shared_ptr<platform::MessageBoxes> boxes,
               QWidget* owner, const QString& source, const QString& target,
               std::function<void(PasteOutcome)> done) {
    if (source.isEmpty() && target.isEmpty()) {
        done(PasteOutcome::NotRun);
        return;
    }
    copier->shellCopy(owner, source, target, [=](const platform::CopyResult& result) {
        if (result.error != 0) {
            showMessage(*boxes, owner, QString::number(result.error));
            // A second try with the plain copy. Every failure of the first copy comes before it
            // asks about an existing target or after the user allowed the replacement, so the
            // second never replaces a target the user chose to keep.
            copier->plainCopy(owner, source, target, [done](int error) {
                done(error == 0 ? PasteOutcome::Copied : PasteOutcome::NotCopied);
            });
            return;
        }
        if (result.aborted) {
            showMessage(*boxes, owner, QStringLiteral("Operation Failed"));
            done(PasteOutcome::NotCopied);
            return;
        }
        done(PasteOutcome::Copied);
    });
}

QString PasteStatus(PasteOutcome outcome, const QString& target) {
    if (outcome == PasteOutcome::NotCopied) return QStringLiteral("Status: File Not Copied to ") + target;
    return QStringLiteral("Status: File Copied to ") + target;
}

} // namespace modCopy
