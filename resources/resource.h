#pragma once
// Resource ids shared by the .rc file and the code.
#define IDI_JUKELET 1
#define IDI_PICTURE 2
#define IDB_BANNER 3
