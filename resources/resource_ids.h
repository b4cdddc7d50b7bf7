/* Names of the program's resources, for the program and for sorv.rc. */
#pragma once

/* The main icon: the first icon group, the one the shell shows. */
#define SORV_MAIN_ICON 1
/* The pointing hand of the link labels: a cursor group named "HAND". */
#define SORV_HAND_CURSOR_NAME L"HAND"
