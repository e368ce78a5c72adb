#pragma once

#include <QLocale>
#include <QString>

// The main window's fixed texts, and the small text rules its handlers share.
namespace windowtext {

inline constexpr const char* kMainTitle = "ORVIK  SEARCHER   V 1.00";
inline constexpr const char* kText1Tip = "Enter File Name alongwith it's extention. i.e : \" filename.ext \"";
// The first line of the status while a search runs: 30 blanks, the word, one blank.
inline constexpr const char* kSearching = "                              SEARCHING ";

inline constexpr const char* kFileTypes[] = {"*.TXT",  "*.HTML", "*.DOC", "*.HTM", "*.MP3", "*.JPG", "*.GIF",
                                             "*.JPEG", "*.AVI",  "*.DAT", "*.WAV", "*.WMA", "*.WMV", "*.MPEG",
                                             "*.PDF",  "*.ICO",  "*.SK2", "*.EXE", "*.INI", "*.DLL", "*.OCX",
                                             "*.XLS",  "*.MDB",  "*.PPT", "*.ZIP", "*.RAR", "*.RM"};

// The text with its leading blanks removed; trailing blanks stay.
QString trimLeadingBlanks(const QString& text);

// The locale's long time format (hours, minutes, seconds and an AM/PM marker where the
// locale has one) without the time zone that Qt's long format adds.
QString longTimeFormat(const QLocale& locale);

} // namespace windowtext
