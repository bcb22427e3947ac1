#pragma once
// What a screen reader finds in the forms beyond Qt's own controls: the main
// dialog as a dialog, and the image on page 3 as a picture named by its hint
// with a press action that does what a click does.

namespace vesk {

// Makes Qt build these interfaces. Call once, after the application object
// exists.
void InstallFormsAccessibility();

}  // namespace vesk
