#pragma once

#include <QIcon>

// The program's own icon, from the resources compiled into this library. Asking for it here keeps
// the resources in every program that shows a window, where the linker would otherwise drop them.
QIcon ProgramIcon();
