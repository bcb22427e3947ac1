#pragma once
// What a screen reader finds in the forms beyond Qt's own controls: the main
// dialog as a dialog that is not sensitive while a modal box blocks it, the
// image on page 3 as a picture named by its hint with a press action that does
// what a click does (a picture without a click handler offers no action), the
// page tabs with the shown one selected and none focused while the tab row has
// no focus, and containers without the controls marked as repeating others.

class QWidget;

namespace vesk {

// Makes Qt build these interfaces. Call once, after the application object
// exists.
void InstallFormsAccessibility();

// Leaves a control out of the accessible tree: it only repeats what another
// one says. Call it before a screen reader first asks for its container.
void HideFromScreenReaders(QWidget* widget);

}  // namespace vesk
