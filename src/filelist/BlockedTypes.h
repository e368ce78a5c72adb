#pragma once

#include <QString>

class QWidget;

namespace platform {
class MessageBoxes;
}

namespace filelist {

// The seven file types that are never opened in the viewer nor deleted: EXE, INI, SK2,
// DLL, OCX, ZIP and RAR, in this order. Only the end of an entry's text counts.
enum class BlockedAction { Open, Delete };

// The message box titles the callers give.
inline constexpr char kShowTitle[] = " Orvik File Searcher Message "; // the Show button
inline constexpr char kSearcherTitle[] = " Orvik Searcher Message ";  // Next, Previous, double-click, Delete

// The refusal for path and action, or a null text when the path may be acted on: the
// last three characters of path (all of it when shorter), lower-cased, are compared with
// each blocked type in turn.
QString blockedTypeMessage(const QString& path, BlockedAction action);

// Applies the rule: when path is of a blocked type, shows its refusal for action in a
// message box with title (OK only, no icon) and returns true, meaning the action stops.
// Returns false, showing nothing, for every other path.
bool CheckBlockedType(platform::MessageBoxes& boxes, QWidget* parent, const QString& path,
                      BlockedAction action, const QString& title);

} // namespace filelist
