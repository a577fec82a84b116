#pragma once
// Names a screen reader speaks for the controls of a window, where the caption beside a
// control is not its own (the number boxes and spinners beside one label, the option
// buttons whose captions repeat in both mode groups, the init-string boxes under one
// frame). Captions and texts on screen stay as they are.

class QWidget;

namespace AccessibleNames {
// Gives every control of `window` that has none a name a listener can tell apart.
void nameControls(QWidget& window);
} // namespace AccessibleNames
