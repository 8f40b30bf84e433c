// Resource identifiers shared by teilomat.rc and the window's code.
#pragma once

#define IDI_TEILOMAT 1  // the program's icon, 16 and 32 pixels
