#pragma once
// What a screen reader finds in the month grid: a table of seven columns and
// six week rows under a header row of weekday names; the day cells named by
// their labels, each with its row, its column and its column's header; the
// current cell selected, and focused only while the grid has the focus; the
// table named by the month shown ("2024年2月").

#include <string>

class QAccessibleInterface;

namespace vesk {

class TCalendar;

// Makes Qt build the table interface for every TCalendar. Call once, after
// the application object exists.
void InstallCalendarAccessibility();

// The month shown, as the table's name: "2001年1月".
std::string MonthCaption(const TCalendar& calendar);

// Tells screen readers that the grid shows another month or day: the table's
// name, its cells and the selected cell changed. Nothing while no assistive
// technology listens or the grid is hidden.
void AnnounceCalendarChange(TCalendar& calendar);

}  // namespace vesk
