#pragma once

// Marks a text that a window shows in the user's language. The code sees the English text itself;
// the translation tools find it by this name (lupdate -tr-function-alias QT_TR_NOOP+=ZVM_TEXT), and
// the window translates it when it shows it.
#define ZVM_TEXT(text) text
