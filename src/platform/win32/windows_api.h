// The Windows headers, for the real platform layer only. The A/W macros that share names with the
// program's own interface methods are removed, so that those methods keep their names here too.
#pragma once

#include <windows.h>

#undef DeleteFile
#undef MoveFile
#undef CopyFile
#undef GetClassName
