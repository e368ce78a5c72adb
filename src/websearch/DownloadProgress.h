#pragma once

#include <QString>
#include <QtGlobal>

namespace websearch {

// The label text of the download progress display.
//
// The prefix of each engine's pane: one blank, "Download Progress" and three blanks
// (two for Altavista).
QString downloadProgressPrefix(int engine);

// The text shown for an accepted progress event of engine's pane. barValue and barMax
// are what the bar reads after it was given the event's numbers. The ratio is taken in
// single precision, rounded to two decimals (halves to the even hundredth) and shown as
// a whole percentage. A progress of 0 reads "Download Progress  100 %  Completed".
QString downloadProgressText(int engine, int progress, float barValue, float barMax);

// The whole percentage of value of max as the label shows it.
qint64 downloadPercent(float barValue, float barMax);

} // namespace websearch
