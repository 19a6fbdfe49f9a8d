// The drawing area: an empty rectangle of a chosen size whose drawing and
// input belong to the application. An expose callback draws it (as the
// drawing target, after its background), an input callback takes its keys
// and pointer messages, and a resize callback may change a new size before
// it is taken. Pictures and trees are built on it.
//
// An area owns its class record (WkDrawingAreaData) and the pointer grab
// from a press to the release. Only an area with an input callback takes
// the focus or reacts to presses.
#pragma once

#include "toolkit/core/object.h"

using WkDrawingAreaCallback = void (*)(WkObject* area, WkMessage* message, void* userData);

// What the resize callback may change: the new pair.
struct WkDrawingAreaSize {
    int oldWidth, oldHeight;
    int newWidth, newHeight;
};
using WkDrawingAreaResizeCallback = void (*)(WkObject* area, WkDrawingAreaSize* size, void* userData);

struct WkDrawingAreaData {
    int width, height;
    WkDrawingAreaCallback expose;
    void* exposeData;
    WkDrawingAreaCallback input;
    void* inputData;
    WkDrawingAreaResizeCallback resize;
    void* resizeData;
};

WkObject* WkCreateDrawingArea(WkObject* parent, int width, int height);
// Called as (area, expose message, data) while the area is the drawing target.
void WkDrawingAreaSetExposeCallback(WkObject* area, WkDrawingAreaCallback callback, void* userData);
// Called as (area, message, data); the area becomes able to take the focus.
void WkDrawingAreaSetInputCallback(WkObject* area, WkDrawingAreaCallback callback, void* userData);
void WkDrawingAreaSetResizeCallback(WkObject* area, WkDrawingAreaResizeCallback callback, void* userData);
