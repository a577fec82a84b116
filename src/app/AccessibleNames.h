#pragma once
// Names a screen reader speaks for the controls of a window, where the caption beside a
// control is not its own (the number boxes and spinners beside one label, the option
// buttons whose captions repeat in both mode groups, the init-string boxes under one
// frame). Captions and texts on screen stay as they are.

class QString;
class QWidget;

namespace AccessibleNames {
// Gives every control of `window` that has none a name a listener can tell apart.
void nameControls(QWidget& window);

// A text laid out in short lines for the screen, as a listener should hear it: the lines of
// a paragraph run on with a space between them; paragraphs (split by a blank line) stay
// apart, one per line.
QString flowingText(const QString& text);
} // namespace AccessibleNames
