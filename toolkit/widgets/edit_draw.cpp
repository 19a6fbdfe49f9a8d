// The edit field's drawing: background and frame from the core, the text
// lines from the view offsets with tabs at their stops, the selection, the
// cursor cell and the focus frame; and scrolling the cursor into view.
#include "toolkit/widgets/edit_internal.h"

#include "toolkit/core/object_draw.h"
#include "toolkit/core/object_primitives.h"
#include "toolkit/core/window_system.h"

#include <algorithm>

namespace edit {

namespace {

// Narrows the drawing clip to a rectangle of the field while it lives and
// gives the previous clip back after (or ends drawing it began itself).
class ClipScope {
public:
    ClipScope(WkObject* field, int x, int y, int width, int height) : field_(field) {
        const bool mine = WkCurrentDrawTarget().object == field;
        if (!WkSelectDrawTarget(field)) return;
        selected_ = true;
        began_ = !mine;
        const WkDrawTarget& t = WkCurrentDrawTarget();
        saved_ = t.clip;
        originX_ = t.originX;
        originY_ = t.originY;
        int x0 = std::max(saved_.x, originX_ + x), y0 = std::max(saved_.y, originY_ + y);
        int x1 = std::min(saved_.x + saved_.width, originX_ + x + width);
        int y1 = std::min(saved_.y + saved_.height, originY_ + y + height);
        Set(WkRect{x0, y0, std::max(0, x1 - x0), std::max(0, y1 - y0)});
        active_ = x1 > x0 && y1 > y0;
    }
    ~ClipScope() {
        if (!selected_) return;
        if (began_) WkEndDraw();
        else Set(saved_);
    }
    bool active() const { return active_; }

private:
    void Set(const WkRect& clip) {
        WkMessage m = WkExposeMessage(0, originX_, originY_,
                                      WkRect{clip.x - originX_, clip.y - originY_, clip.width, clip.height});
        WkBeginDraw(field_, &m);
    }
    WkObject* field_;
    WkRect saved_;
    int originX_ = 0, originY_ = 0;
    bool selected_ = false, began_ = false, active_ = false;
};

bool CursorVisible(WkObject* field, const WkEditData* d) {
    if (!(field->state & WK_STATE_FOCUS) || !(d->flags & WK_EDIT_CURSOR_SHOWN)) return false;
    if (d->flags & WK_EDIT_READ_ONLY) return false;
    int from, to;
    SelectionRange(d, &from, &to);
    return !(d->cursor >= from && d->cursor < to);
}

int TextLeft(WkObject* field) { return Frame(field) + WkEditRecord(field)->hMargin; }

// The rows a line's cells fill. A one-line field gives them its whole inside:
// accented capitals reach above the font's cell, and their accents must sit
// on the cell's colour and go with the letter.
struct Band {
    int top, height;
};

Band CellBand(WkObject* field, int line) {
    if (WkEditRecord(field)->flags & WK_EDIT_MULTI_LINE) return {LineTop(field, line), LineHeight(field)};
    const int f = std::max(Frame(field), 1); // a frameless field draws its focus frame on its edge
    return {f, field->height - 2 * f};
}

void DrawCell(WkObject* field, int x, const Band& band, int top, int width, char c, WkColor background, WkColor color) {
    WkObjectFillRect(field, x, band.top, width, band.height, background);
    const char text[2] = {c, '\0'};
    if (c) WkObjectDrawTextN(field, x, top, width, LineHeight(field), text, field->font, color, WK_ALIGN_LEFT, 1);
}

void DrawLine(WkObject* field, int line) {
    WkEditData* d = WkEditRecord(field);
    const int pitch = LinePitch(field), lh = LineHeight(field), top = LineTop(field, line);
    const int left = TextLeft(field), right = field->width - left;
    const Band band = CellBand(field, line);
    if (d->flags & WK_EDIT_MULTI_LINE) WkObjectFillRect(field, left, top, right - left, pitch, field->background);
    else WkObjectFillRect(field, left, band.top, right - left, band.height, field->background);
    if (line > d->lastLine) return;
    const bool usable = Usable(field);
    WkColor selBack = usable ? (field->background == field->foreground ? field->darkShadow : field->foreground)
                             : field->darkShadow;
    WkColor selText = usable ? field->background : field->lightShadow;
    WkColor text = field->foreground;
    const bool masked = d->flags & WK_EDIT_MASKED;
    int from, to;
    SelectionRange(d, &from, &to);
    const int start = StartOfLine(d, line), end = LineEnd(d, start), stop = TabStop(field);
    int x = 0, cursorWidth = CharWidth(field, ' '), cursorAt = -1;
    char cursorChar = ' ';
    for (int i = start; i <= end; ++i) {
        unsigned char c = i < end ? static_cast<unsigned char>(d->store.buffer[i]) : 0;
        bool tab = c == '\t' && !masked;
        int next = i == end ? x : tab ? (x / stop + 1) * stop : x + CharWidth(field, c);
        if (i == d->cursor) {
            cursorAt = x;
            if (c && !tab) {
                cursorChar = masked ? d->displayChar : char(c);
                cursorWidth = next - x;
            }
        }
        int px = left + x - d->xOffset;
        if (i < end && px + (next - x) > left && px < right) {
            const char shown[2] = {tab ? '\0' : masked ? d->displayChar : char(c), '\0'};
            if (i >= from && i < to) DrawCell(field, px, band, top, next - x, shown[0], selBack, selText);
            else if (shown[0] && usable) WkObjectDrawTextN(field, px, top, next - x, lh, shown, field->font, text, 0, 1);
            else if (shown[0])
                WkObjectDrawShadowTextN(field, px, top, next - x, lh, shown, field->font, 1, field->darkShadow,
                                        field->lightShadow, WK_ALIGN_LEFT, 1);
        }
        x = next;
    }
    if (cursorAt >= 0 && CursorVisible(field, d)) {
        WkColor cell = usable ? field->foreground : field->lightShadow;
        int px = left + cursorAt - d->xOffset;
        if (d->flags & WK_EDIT_INSERT) WkObjectFillRect(field, px, top + lh - 2, cursorWidth, 2, cell);
        else DrawCell(field, px, band, top, cursorWidth, cursorChar == ' ' ? 0 : cursorChar, cell, field->background);
    }
}

} // namespace

int LinePitch(WkObject* field) { return LineHeight(field) + WkEditRecord(field)->vMargin; }

int LineTop(WkObject* field, int line) {
    WkEditData* d = WkEditRecord(field);
    if (!(d->flags & WK_EDIT_MULTI_LINE)) return (field->height - LineHeight(field)) / 2;
    return Frame(field) + d->vMargin + (line - d->topLine) * LinePitch(field);
}

void DrawLines(WkObject* field, int firstLine, int lastLine) {
    if (!WkObjectDrawable(field)) return;
    WkEditData* d = WkEditRecord(field);
    firstLine = std::max(firstLine, d->topLine);
    lastLine = std::min(lastLine, d->topLine + d->visibleLines - 1);
    if (firstLine > lastLine) return;
    const int f = Frame(field), left = TextLeft(field);
    ClipScope clip(field, left, f, field->width - 2 * left, field->height - 2 * f);
    if (!clip.active()) return;
    for (int line = firstLine; line <= lastLine; ++line) DrawLine(field, line);
}

void DrawAll(WkObject* field) {
    WkEditData* d = WkEditRecord(field);
    DrawLines(field, d->topLine, d->topLine + d->visibleLines - 1);
}

void DrawFocusFrame(WkObject* field) {
    if (!WkObjectDrawable(field) || (field->state & WK_STATE_PART)) return;
    const int f = Frame(field);
    if (field->state & WK_STATE_FOCUS)
        WkObjectDrawFrame(field, 0, 0, field->width, field->height, WkBlackColor(), f > 2 ? 2 : 1);
    else if (field->shadowType != WK_SHADOW_NONE && f > 0)
        WkObjectDrawShadow(field);
    else
        WkObjectDrawFrame(field, 0, 0, field->width, field->height, field->background, 1);
}

void ShowCursor(WkObject* field, bool on) {
    WkEditData* d = WkEditRecord(field);
    if (on && !(field->state & WK_STATE_FOCUS)) return;
    bool was = d->flags & WK_EDIT_CURSOR_SHOWN;
    if (on) d->flags |= WK_EDIT_CURSOR_SHOWN;
    else d->flags &= std::uint16_t(~WK_EDIT_CURSOR_SHOWN);
    if (was != on) DrawLines(field, d->cursorLine, d->cursorLine);
}

void ScrollIntoView(WkObject* field) {
    WkEditData* d = WkEditRecord(field);
    // Only the cursor's place must lie within the view, not its whole cell: a
    // field typed full to its visible columns keeps its first character in
    // view, the cursor at the end drawn in the right margin.
    int xOffset = d->xOffset, topLine = d->topLine;
    if (d->cursorX < xOffset) xOffset = d->cursorX;
    else if (d->cursorX > xOffset + d->visibleWidth) xOffset = d->cursorX - d->visibleWidth;
    if (d->cursorLine < topLine) topLine = d->cursorLine;
    else if (d->cursorLine >= topLine + d->visibleLines) topLine = d->cursorLine - d->visibleLines + 1;
    if (xOffset != d->xOffset || topLine != d->topLine) {
        d->xOffset = xOffset;
        d->topLine = topLine;
        DrawAll(field);
    }
    UpdateBars(field);
}

} // namespace edit
