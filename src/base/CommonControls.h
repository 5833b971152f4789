#pragma once

// Loads comctl32 and registers its window classes, once per process. The manifest asks for
// the version 6 common controls, which take over BUTTON, EDIT and STATIC; Windows XP has
// those classes only once comctl32 is loaded (later Windows load it on demand), so before
// that no dialog gets its controls and no message box shows at all. Call it before the first
// window or box.
void LoadCommonControls();
