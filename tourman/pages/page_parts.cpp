#include "tourman/pages/page_parts.h"

#include "toolkit/core/object_attrs.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/push_button.h"

WkObject* PageEdit(WkObject* parent, int length, int font, int filter, const char* extra) {
    WkObject* field = WkCreateEdit(parent, "", length, font);
    WkEditSetFilter(field, filter, extra);
    return field;
}

WkObject* PageButton(WkObject* parent, const std::string& caption, int font, int width, int height) {
    WkObject* button = WkCreateButton(parent, caption.c_str(), font);
    if (width > 0) WkObjectSetWidth(button, width);
    if (height > 0) WkObjectSetHeight(button, height);
    return button;
}

WkObject* PageList(WkObject* parent, int length, int rows, const char* title, const char* name, int transparency) {
    WkObject* list = WkCreateList(parent, PageFontFixed, length, rows, length);
    WkListSetTitle(list, title);
    WkObjectSetName(list, name);
    WkObjectSetTransparency(list, transparency);
    return list;
}

bool ShowListRows(WkObject* list, const std::vector<std::string>& rows) {
    if (!list) return false;
    bool same = WkListGetCount(list) == int(rows.size());
    for (int i = 0; same && i < int(rows.size()); ++i) {
        const WkListItem* item = WkListGetItem(list, i);
        same = item && item->text && rows[std::size_t(i)] == item->text;
    }
    if (same) return false;
    WkListClear(list);
    WkListHide(list);
    for (std::size_t i = 0; i < rows.size(); ++i) WkListAddItem(list, rows[i].c_str(), int(i) + 1);
    WkListShow(list);
    return true;
}
