#include "toolkit/widgets/customize_dialog.h"

#include "toolkit/core/colors.h"
#include "toolkit/core/draw.h"
#include "toolkit/core/inherit.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_config.h"
#include "toolkit/core/object_layout.h"
#include "toolkit/core/settings.h"
#include "toolkit/core/shell.h"
#include "toolkit/core/timeouts.h"
#include "toolkit/widgets/combo_box.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/form_pages.h"
#include "toolkit/widgets/label.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/push_button.h"
#include "toolkit/widgets/scroll_bar.h"
#include "toolkit/widgets/spin_field.h"
#include "toolkit/widgets/toggle.h"

#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

namespace {

constexpr WkFontSlot kTextFont = 4;
constexpr WkFontSlot kFieldFont = 0;
constexpr int kShadowTypes = 5;
constexpr int kFontSlots = 10;
// A bar of view 32 and maximum 287 moves over 0..255.
constexpr int kBarView = 32, kBarMaximum = 287, kBarLength = 256;

// What the dialog edits, as the object has it or as the controls say.
struct Look {
    int font = 0, shadow = 0, width = 0, outerWidth = 0;
    int background[3] = {}, foreground[3] = {};
    int transparency = 0;
    int backgroundFromParent = 0, percent = 100, foregroundFromParent = 0;
    std::string text;
};

struct ColorRows {
    WkObject* bars[3] = {};
    WkObject* values[3] = {};
    WkObject* fromParent = nullptr;
};

struct Customize {
    WkObject* object = nullptr;
    WkConfigMask mask = 0;
    WkObject* shell = nullptr;
    WkObject *shadowCombo = nullptr, *width = nullptr, *outerWidth = nullptr;
    ColorRows background, foreground;
    WkObject *percent = nullptr, *transparencyBar = nullptr, *transparencyValue = nullptr;
    WkObject *fontCombo = nullptr, *text = nullptr;
    Look now, opening;
    bool live = true;
    bool quiet = false; // the dialog sets its own controls: no effects
};

Customize* Of(void* data) { return static_cast<Customize*>(data); }

Look ReadLook(WkObject* o, WkConfigMask mask) {
    Look look;
    WkObjectGetShadow(o, &look.shadow, &look.width, &look.outerWidth);
    look.font = WkObjectGetFont(o);
    look.transparency = WkObjectGetTransparency(o);
    if (mask & WK_CONFIG_TEXT) {
        char buffer[256] = "";
        const char* text = WkObjectGetText(o, buffer, sizeof buffer);
        look.text = text ? text : "";
    }
    WkColorToRGB(WkObjectGetBackgroundColor(o), &look.background[0], &look.background[1], &look.background[2]);
    WkColorToRGB(WkObjectGetForegroundColor(o), &look.foreground[0], &look.foreground[1], &look.foreground[2]);
    look.backgroundFromParent = WkObjectInheritsBackground(o, &look.percent);
    look.foregroundFromParent = WkObjectInheritsForeground(o);
    return look;
}

std::string Printed(const char* format, int value) {
    char text[16];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// The lightness typed; an empty field counts as 100.
int Percent(Customize* c) {
    const char* text = WkEditGetText(c->percent);
    c->now.percent = *text ? std::atoi(text) : 100;
    return c->now.percent;
}

void ShowColor(ColorRows& rows, const int* rgb) {
    for (int i = 0; i < 3; ++i) {
        WkScrollBarSetValue(rows.bars[i], rgb[i]);
        WkObjectSetText(rows.values[i], Printed("%02x", rgb[i]).c_str());
    }
}

void SetBarsSensitive(ColorRows& rows, int on) {
    for (WkObject* bar : rows.bars) WkObjectSetSensitive(bar, on);
}

// Every control from the current values, without their effects.
void ShowValues(Customize* c) {
    const Look& v = c->now;
    c->quiet = true;
    WkEditReplaceText(c->shadowCombo, WkShadowTypeName(v.shadow) ? WkShadowTypeName(v.shadow) : "", 0, 0);
    WkEditReplaceText(c->width, std::to_string(v.width).c_str(), 0, 0);
    WkEditReplaceText(c->outerWidth, std::to_string(v.outerWidth).c_str(), 0, 0);
    WkEditReplaceText(c->fontCombo, WkFontSlotName(v.font) ? WkFontSlotName(v.font) : "", 0, 0);
    WkEditReplaceText(c->text, v.text.c_str(), 0, 0);
    ShowColor(c->background, v.background);
    ShowColor(c->foreground, v.foreground);
    WkScrollBarSetValue(c->transparencyBar, v.transparency);
    WkObjectSetText(c->transparencyValue, Printed("%03d", v.transparency).c_str());
    WkEditReplaceText(c->percent, std::to_string(v.percent).c_str(), 0, 0);
    WkToggleSetState(c->background.fromParent, v.backgroundFromParent);
    WkToggleSetState(c->foreground.fromParent, v.foregroundFromParent);
    SetBarsSensitive(c->background, !v.backgroundFromParent);
    SetBarsSensitive(c->foreground, !v.foregroundFromParent);
    c->quiet = false;
}

void Apply(Customize* c) {
    WkObject* o = c->object;
    const Look& v = c->now;
    WkObjectHide(o);
    WkObjectSetFont(o, v.font, 0);
    WkObjectSetShadow(o, v.shadow, v.width, v.outerWidth);
    if (c->mask & WK_CONFIG_TEXT) WkObjectSetText(o, WkEditGetText(c->text));
    WkColor background = WkAllocColor(v.background[0], v.background[1], v.background[2]);
    WkColor foreground = WkAllocColor(v.foreground[0], v.foreground[1], v.foreground[2]);
    WkObjectSetColors(o, background, foreground);
    WkObjectSetTransparency(o, v.transparency);
    WkObjectInheritBackground(o, v.backgroundFromParent, Percent(c));
    WkObjectInheritForeground(o, v.foregroundFromParent);
    WkResize(o, -1, -1);
    WkObjectShow(o);
    WkFreeColor(background);
    WkFreeColor(foreground);
}

void SetShadow(Customize* c) {
    if (c->live) WkObjectSetShadow(c->object, c->now.shadow, c->now.width, c->now.outerWidth);
}

void ShadowChosen(WkObject*, WkListItem* item, void* data, WkObject*) {
    Customize* c = Of(data);
    c->now.shadow = item->userData;
    SetShadow(c);
}

void FontChosen(WkObject*, WkListItem* item, void* data, WkObject*) {
    Customize* c = Of(data);
    c->now.font = item->userData;
    if (c->live) WkObjectSetFont(c->object, c->now.font, 1);
}

// Up and down add or take one; below 0 beeps, above 9 wraps to 0.
void WidthStep(WkObject* field, int step, void*) {
    int value = std::atoi(WkEditGetText(field)) + step;
    if (value < 0) {
        WkBeep();
        return;
    }
    if (value > 9) value = 0;
    WkEditReplaceText(field, std::to_string(value).c_str(), 0, 1);
}

void WidthTyped(WkObject* field, char* text, void* data) {
    Customize* c = Of(data);
    if (c->quiet) return;
    (field == c->width ? c->now.width : c->now.outerWidth) = std::atoi(text);
    SetShadow(c);
}

void ColorMoved(WkObject* bar, std::intptr_t value, void* data) {
    Customize* c = Of(data);
    if (c->quiet) return;
    for (int side = 0; side < 2; ++side) {
        ColorRows& rows = side ? c->foreground : c->background;
        int* rgb = side ? c->now.foreground : c->now.background;
        for (int i = 0; i < 3; ++i) {
            if (rows.bars[i] != bar) continue;
            rgb[i] = int(value);
            WkObjectSetText(rows.values[i], Printed("%02x", rgb[i]).c_str());
            // Bars greyed by "From Parent" do not reach the object.
            const int fromParent = side ? c->now.foregroundFromParent : c->now.backgroundFromParent;
            if (!c->live || fromParent) return;
            if (side) WkObjectSetForegroundRGB(c->object, rgb[0], rgb[1], rgb[2]);
            else WkObjectSetBackgroundRGB(c->object, rgb[0], rgb[1], rgb[2]);
            return;
        }
    }
}

void TransparencyMoved(WkObject*, std::intptr_t value, void* data) {
    Customize* c = Of(data);
    if (c->quiet) return;
    c->now.transparency = int(value);
    WkObjectSetText(c->transparencyValue, Printed("%03d", c->now.transparency).c_str());
    if (c->live) WkObjectSetTransparency(c->object, c->now.transparency);
}

void FromParentSwitched(WkObject* toggle, int state, void* data) {
    Customize* c = Of(data);
    if (c->quiet) return;
    const bool foreground = toggle == c->foreground.fromParent;
    ColorRows& rows = foreground ? c->foreground : c->background;
    (foreground ? c->now.foregroundFromParent : c->now.backgroundFromParent) = state;
    SetBarsSensitive(rows, !state);
    if (!c->live) return;
    if (foreground) WkObjectInheritForeground(c->object, state);
    else WkObjectInheritBackground(c->object, state, Percent(c));
    if (!state) return;
    // The bars show the colour the object took.
    int* rgb = foreground ? c->now.foreground : c->now.background;
    WkColorToRGB(foreground ? WkObjectGetForegroundColor(c->object) : WkObjectGetBackgroundColor(c->object), &rgb[0],
                 &rgb[1], &rgb[2]);
    c->quiet = true;
    ShowColor(rows, rgb);
    c->quiet = false;
}

void AutoProofSwitched(WkObject*, int state, void* data) {
    Customize* c = Of(data);
    c->live = state != 0;
    if (c->live) Apply(c);
}

void ApplyPressed(WkObject*, void*, void* data) { Apply(Of(data)); }

void UndoPressed(WkObject*, void*, void* data) {
    Customize* c = Of(data);
    c->now = c->opening;
    WkObjectHide(c->object);
    ShowValues(c);
    // Without "Auto proof" the object keeps what was applied, but shows again.
    if (c->live) Apply(c);
    else WkObjectShow(c->object);
}

void SavePressed(WkObject*, void*, void* data) {
    Customize* c = Of(data);
    Apply(c);
    WkObjectSaveConfig(c->object);
}

// The window goes once its button's press is over.
void ClosePressed(WkObject*, void*, void* data) {
    WkObject* shell = Of(data)->shell;
    WkShellHide(shell);
    WkAddTimeout(0, [](int, void* shell) { WkShellDestroy(static_cast<WkObject*>(shell)); }, shell);
}

void FreeState(WkObject*, WkMessage*, void* data, std::uint32_t) { delete Of(data); }

WkObject* Row(WkObject* parent, const char* caption) {
    WkObject* row = WkCreateHorizontalForm(parent);
    if (caption) WkCreateLabel(row, caption, kFieldFont);
    return row;
}

WkObject* Bar(WkObject* row, WkValueCallback moved, Customize* c) {
    WkObject* bar = WkCreateScrollBar(row, WK_SCROLL_HORIZONTAL, kBarView, kBarMaximum);
    WkObjectSetWidth(bar, kBarLength);
    WkScrollBarSetShade(bar, 85);
    WkScrollBarSetCallback(bar, moved, c);
    return bar;
}

WkObject* ComboBox(WkObject* row, int length, int rows, const char* (*name)(int), WkComboCallback chosen,
                   Customize* c) {
    WkObject* combo = WkCreateComboBox(row, "", length, length, rows, kFieldFont);
    WkEditSetReadOnly(combo);
    for (int i = 0; i < rows; ++i) WkListAddItem(WkComboBoxGetList(combo), name(i), i);
    WkComboBoxSetCallback(combo, chosen, c);
    return combo;
}

WkObject* Spin(WkObject* row, const char* caption, Customize* c) {
    WkCreateLabel(row, caption, kTextFont);
    WkObject* spin = WkCreateSpinField(row, "0", 1, 1, kFieldFont, WidthStep, c);
    WkEditSetFilter(spin, WK_FILTER_DIGITS, nullptr);
    WkEditSetValueCallback(spin, WidthTyped, c);
    return spin;
}

// Red, green and blue rows and the "From Parent" toggle; greyed without
// the key. Returns the toggle's row.
WkObject* ColorPage(WkObject* page, ColorRows& rows, bool enabled, Customize* c) {
    const char* captions[3] = {"   Red", " Green", "  Blue"};
    for (int i = 0; i < 3; ++i) {
        WkObject* row = Row(page, captions[i]);
        rows.values[i] = WkCreateLabel(row, "00", kFieldFont);
        rows.bars[i] = Bar(row, ColorMoved, c);
        if (!enabled) WkObjectDisable(row);
    }
    WkObject* row = Row(page, nullptr);
    rows.fromParent = WkCreateToggle(row, "From Parent", kTextFont);
    WkToggleSetCallback(rows.fromParent, FromParentSwitched, c);
    if (!enabled) WkObjectDisable(row);
    return row;
}

void BuildControls(Customize* c) {
    const WkConfigMask mask = c->mask;
    WkObject* shell = c->shell;

    WkObject* shadowRow = Row(shell, nullptr);
    WkObjectSetTransparency(shadowRow, 150);
    WkObjectInheritBackground(shadowRow, 1, 100);
    WkCreateLabel(shadowRow, "Shadow:", kTextFont);
    c->shadowCombo = ComboBox(shadowRow, 10, kShadowTypes, WkShadowTypeName, ShadowChosen, c);
    c->width = Spin(shadowRow, "int", c);
    c->outerWidth = Spin(shadowRow, "ext", c);
    if (!(mask & WK_CONFIG_SHADOW)) WkObjectDisable(shadowRow);

    WkObject* tabs = WkCreateTabbedVerticalForm(shell, 3, kTextFont);
    WkFormSetPageLabelText(tabs, "BackGround");
    WkObject* toggleRow = ColorPage(tabs, c->background, mask & WK_CONFIG_BACKGROUND, c);
    WkCreateLabel(toggleRow, "Lightness percentage", kTextFont);
    c->percent = WkCreateEditWithWidth(toggleRow, "100", 3, 3, kFieldFont);
    WkEditSetFilter(c->percent, WK_FILTER_DIGITS, nullptr);
    WkObject* transparencyRow = Row(tabs, "Transparency:  ");
    c->transparencyValue = WkCreateLabel(transparencyRow, "000", kFieldFont);
    c->transparencyBar = Bar(transparencyRow, TransparencyMoved, c);
    if (!(mask & WK_CONFIG_TRANSPARENCY)) WkObjectDisable(transparencyRow);

    WkFormSetPage(tabs, 1);
    WkFormSetPageLabelText(tabs, "ForeGround");
    ColorPage(tabs, c->foreground, mask & WK_CONFIG_FOREGROUND, c);

    WkFormSetPage(tabs, 2);
    WkFormSetPageLabelText(tabs, "Text");
    WkObject* fontRow = Row(tabs, nullptr);
    WkCreateLabel(fontRow, "Font:", kTextFont);
    c->fontCombo = ComboBox(fontRow, 12, kFontSlots, WkFontSlotName, FontChosen, c);
    if (!(mask & WK_CONFIG_FONT)) WkObjectDisable(fontRow);
    c->text = WkCreateMultiLineEdit(tabs, "", 48, 3, kFieldFont);
    WkObjectSetTransparency(c->text, 128);
    if (!(mask & WK_CONFIG_TEXT)) WkObjectDisable(c->text);
    WkFormSetPage(tabs, 0);

    WkObject* buttons = Row(shell, nullptr);
    WkObjectSetBackgroundRGB(buttons, 80, 80, 80);
    WkObjectSetTransparency(buttons, 180);
    const struct {
        const char* caption;
        WkButtonCallback pressed;
    } kButtons[] = {{"Close", ClosePressed}, {"Undo", UndoPressed}, {"Apply", ApplyPressed}, {"Save", SavePressed}};
    for (const auto& b : kButtons) WkButtonSetCallback(WkCreateButton(buttons, b.caption, kTextFont), b.pressed, c);
    WkObject* autoProof = WkCreateToggle(buttons, "Auto proof", kTextFont);
    WkToggleSetOn(autoProof);
    WkToggleSetCallback(autoProof, AutoProofSwitched, c);
}

} // namespace

void WkEnableCustomize() { WkSetCustomizeHook(WkCustomizeDialog); }

void WkCustomizeDialog(WkObject* object) {
    while (object && !WkObjectGetConfigMask(object)) object = WkObjectGetParent(object);
    if (!object || !WkObjectGetName(object) || !*WkObjectGetName(object)) {
        WkBeep();
        return;
    }
    auto* c = new (std::nothrow) Customize;
    if (!c) {
        WkBeep();
        return;
    }
    c->object = object;
    c->mask = WkObjectGetConfigMask(object);
    const std::string title = std::string("Customizing ") + WkObjectGetName(object);
    c->shell = WkCreateShell(title.c_str(), WK_SHELL_DIALOG);
    WkObjectAddDestroyHandler(c->shell, FreeState, c);
    WkObjectSetBackgroundImageFile(c->shell, "tile17.bmp", WK_IMAGE_TILED);
    WkObjectSetShadow(c->shell, 2, 1, 0);
    c->now = c->opening = ReadLook(object, c->mask);
    BuildControls(c);
    ShowValues(c);
    WkShellRealize(c->shell);
}
