/* Names of the program's resources, for the program and for sorv.rc. */
#pragma once

/* The main icon: the first icon group, the one the shell shows. */
#define SORV_MAIN_ICON 1
/* The pointing hand of the link labels: a cursor group named "HAND". */
#define SORV_HAND_CURSOR_NAME L"HAND"
/* The main window's tool-bar glyphs, 32x32, bottom-left pixel transparent. */
#define SORV_GLYPH_SPLIT 101
#define SORV_GLYPH_JOIN 102
#define SORV_GLYPH_CLEAR 103
#define SORV_GLYPH_FORMAT 104
#define SORV_GLYPH_OPTIONS 105
#define SORV_GLYPH_ABOUT 106
#define SORV_GLYPH_QUIT 107
