#include "ui/ControlTable.h"

RECT ControlRect(const ControlLayout& control, ControlTable table, UINT dpi) {
    int left = control.left;
    int top = control.top;
    for (const ControlLayout& frame : table)
        if (control.container != 0 && frame.id == control.container) {
            left += frame.left;
            top += frame.top;
        }
    const int x = TwipsToPixels(left, dpi);
    const int y = TwipsToPixels(top, dpi);
    return RECT{x, y, x + TwipsToPixels(control.width, dpi), y + TwipsToPixels(control.height, dpi)};
}
