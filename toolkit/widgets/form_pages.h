// Pages of a form: switching the shown page (the focus follows into the new
// page, the page callback and the page-number label are told), changing the
// number of pages, the paging keys, the paging buttons that send them, and
// the two constructions built on pages: the paged form with a column of
// paging buttons and the tabbed form with a row of page tabs.
//
// A removed page's children and tab are destroyed here; everything else
// (pages, labels, the tab row) belongs to the forms that hold it.
#pragma once

#include "toolkit/core/callback_list.h"
#include "toolkit/core/colors.h"
#include "toolkit/core/fonts.h"
#include "toolkit/core/object.h"

// An index outside the pages beeps; the current one does nothing.
void WkFormSetPage(WkObject* form, int page);
// 2 to 100 pages (other counts do nothing); pages beyond go with their
// children, new ones of a tabbed form get a tab "P.n".
void WkFormSetPageCount(WkObject* form, int count);
// Called as (form, new page index, user data) after every switch.
void WkFormSetPageCallback(WkObject* form, WkValueCallback callback, void* userData);
// The text of the current page's label object (its tab).
void WkFormSetPageLabelText(WkObject* form, const char* text);
// Null without a label object.
char* WkFormGetPageLabelText(WkObject* form, char* buffer, int size);

// Home, End, PgUp and PgDn: the keys a form pages with.
bool WkIsPagingKey(int key);
// The paging step of a form's key message: the vertical bar of a scrolled
// form, else the pages; 1 when the key was used.
int WkFormPagingKey(WkObject* form, const WkMessage* message);

// A button that sends the key to the target while held (after 500 ms,
// then every 100 ms), giving the target the focus first.
WkObject* WkCreatePagingButton(WkObject* parent, WkObject* target, int key);

// With one page a plain form; else the paged form beside its paging column.
// Returns the paged form.
WkObject* WkCreatePagedForm(WkObject* parent, int pages, int kind);
WkObject* WkCreateAttachmentPagedForm(WkObject* parent, int pages);
WkObject* WkCreateVerticalPagedForm(WkObject* parent, int pages);
WkObject* WkCreateHorizontalPagedForm(WkObject* parent, int pages);
// Forms of that many pages, without buttons.
WkObject* WkCreateAttachmentPagesForm(WkObject* parent, int pages);
WkObject* WkCreateVerticalPagesForm(WkObject* parent, int pages);
WkObject* WkCreateHorizontalPagesForm(WkObject* parent, int pages);

// A row of page tabs "P.1", "P.2", ... over the paged form, which it
// returns.
WkObject* WkCreateTabbedForm(WkObject* parent, int pages, int kind, WkFontSlot font);
WkObject* WkCreateTabbedAttachmentForm(WkObject* parent, int pages, WkFontSlot font);
WkObject* WkCreateTabbedVerticalForm(WkObject* parent, int pages, WkFontSlot font);
WkObject* WkCreateTabbedHorizontalForm(WkObject* parent, int pages, WkFontSlot font);
// The page tabs' callback: a tab turned on shows its page (user data).
void WkTabPressed(WkObject* tab, int state, void* userData);
// 0 for the tab of a page whose every child is greyed: the tab is drawn
// greyed, a click on it opens nothing and the keys pass over it; 1 for any
// other object.
int WkPageTabLeadsSomewhere(WkObject* object);
// The sensitivity step of a form: when it lies on a page of a tabbed form,
// the page's tab is drawn again, greyed or not as the page now is.
void WkRedrawPageTabOf(WkObject* form);
// The size-query step of a tabbed outer form: the tabs take the paged
// form's font.
void WkTabbedFormShareFont(WkObject* outer);
// The colour and transparency steps of a paged form with tabs: its tab row
// and every tab take them too.
void WkTabbedFormShareColors(WkObject* paged, WkColor background, WkColor foreground);
void WkTabbedFormShareTransparency(WkObject* paged, int level);
// The expose step of a tabbed outer form and of its tab row.
void WkTabbedFormDraw(WkObject* form);
