// Fonts for the text code of ui/: the program's PostScript font names mapped
// to font families that Debian ships, as pango font descriptions.
#pragma once

#include <pango/pangocairo.h>

// A description (free with pango_font_description_free) for the PostScript
// name, made bold or italic on top of the name's own weight and slant, at
// `size` user-space units (an absolute size, not points at some resolution).
PangoFontDescription* UItext_FontForName(const char* postScriptName, bool bold, bool italic,
                                         double size);
