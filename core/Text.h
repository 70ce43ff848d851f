#pragma once

// Marks a text that a window shows in the user's language. The code sees the English text itself;
// the translation tools find it by this name (lupdate -tr-function-alias QT_TRANSLATE_NOOP+=ZVM_TEXT)
// under its context, which is always "zvm": written out at each text, as those tools read it as it
// stands, and the one context under which the window translates every text of the layers below it.
#define ZVM_TEXT(context, text) text
#define ZVM_TEXT_CONTEXT "zvm"
