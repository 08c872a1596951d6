#pragma once
// Serbian (Latin script) in what Qt itself shows: the standard buttons, the
// file dialog, the input dialog, context menus, and the calendar's month
// and day names. The process-wide locale stays as it is (numbers keep "."),
// so calendars take the Serbian locale one by one.

#include <QLocale>

class QCalendarWidget;

namespace tarvex {

// Installs the translation of Qt's texts; a second call does nothing.
// Returns false when the translation could not be loaded.
bool installSerbianTexts();

QLocale serbianLatin();

// Month and day names in Serbian Latin, weeks from Monday.
void makeSerbian(QCalendarWidget* calendar);

} // namespace tarvex
