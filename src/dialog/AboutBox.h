// The About box's texts: the application name and the program's file version.
#pragma once

class MacroWindow;

// Fills the caption and texts of the About box: the application macros,
// then VERSION as the file version text.
void InitAboutBox(MacroWindow& window);
