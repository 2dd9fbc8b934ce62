#pragma once

class QWidget;

namespace kestrune::ui {

// Title bars that the program does not control may offer maximize and minimize whatever the
// window flags say: Qt's own title bar on Wayland compositors that leave decorations to the
// program (GNOME) always draws both buttons, and openbox offers minimize on every window. The
// windows refuse those states themselves.

// A fixed-size window goes back from maximized or full screen to its own size at once.
void keepFixedSize(QWidget& window);

// A modal window closes when it is minimized: hidden, it would leave the windows it blocks
// without input and without a visible reason, and Wayland gives a program no way to restore a
// minimized window itself.
void closeWhenMinimized(QWidget& window);

} // namespace kestrune::ui
