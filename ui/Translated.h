#pragma once

#include "core/Status.h"

#include <QString>

#include <string>

// A text of the plain C++ layers (marked ZVM_TEXT there) in the user's language; a text that is not
// one of theirs (a file name, the encoder's words) comes back as it is.
QString Translated(const std::string& text);

// A failure of the layers below in the user's language: its message translated, its detail (a file
// or program name, or the system's own words) in place of %1.
QString Translated(const zvm::Status& status);
