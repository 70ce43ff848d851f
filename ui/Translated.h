#pragma once

#include <QString>

#include <string>

// A text of the plain C++ layers (marked ZVM_TEXT there) in the user's language; a text that is not
// one of theirs (a file name, the encoder's words) comes back as it is.
QString Translated(const std::string& text);
