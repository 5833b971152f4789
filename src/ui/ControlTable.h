#pragma once
#include <windows.h>

#include "runtime/Span.h"

// A window's controls as data: kind, caption and place in twips, in tab order.
enum class ControlKind {
    PushButton,
    DefaultPushButton,
    Label,      // reports clicks and takes the pointer's moves over it
    Frame,      // a captioned group box
    Line,       // an etched horizontal line along the control's top
    BareFrame,  // a frame without caption: an etched rectangle
    TextBox,
    ReadOnlyMemo,  // multi-line, read-only, wrapping, vertical scroll bar
    IconPicture,
    BitmapPicture,  // with a sunken border
};

struct ControlLayout {
    int id;
    ControlKind kind;
    int container;  // the id of the frame it sits in, or 0 for the window itself
    const char* caption;
    int left, top, width, height;  // twips, relative to the container's client area
};

// A window's controls, in tab order: a constant array of rows.
using ControlTable = Span<ControlLayout>;

struct WindowLayout {
    const char* caption;
    int clientWidth, clientHeight;  // twips
    bool showsIcon;                 // a window without one gets the plain dialog frame
};

constexpr int TwipsPerInch = 1440;

inline int TwipsToPixels(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), TwipsPerInch); }

// The pixel rectangle of a control in its window's client area at this DPI. Position and
// size are scaled apart, so controls of one size stay one size.
RECT ControlRect(const ControlLayout& control, ControlTable table, UINT dpi);
