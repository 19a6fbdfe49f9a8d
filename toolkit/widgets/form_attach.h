// Changing how a form's children are tied after they were added: each side
// of a child tied to nothing, to the form's edge or to a sibling (a sibling
// tie recorded on both objects), detaching and new offsets; putting an
// object into a form at a place and moving it before another child; key
// accelerators on a form; and the walk over a form's children that looks
// through composite wrappers to their working parts.
//
// A part of a composite is tied through its outer composite. Ties to
// objects of other forms or pages are ignored. The accelerator nodes are
// owned by the form's record; nothing else is owned here.
#pragma once

#include "toolkit/core/callback_list.h"
#include "toolkit/core/object.h"

void WkObjectAttachTop(WkObject* object, int kind, int offset, WkObject* sibling);
void WkObjectAttachBottom(WkObject* object, int kind, int offset, WkObject* sibling);
void WkObjectAttachLeft(WkObject* object, int kind, int offset, WkObject* sibling);
void WkObjectAttachRight(WkObject* object, int kind, int offset, WkObject* sibling);
// Every side whose keep flag is 0 is tied to nothing at offset 0.
void WkObjectDetach(WkObject* object, int keepTop, int keepBottom, int keepLeft, int keepRight);
// Each value other than -1 becomes that side's offset, kind and sibling kept.
void WkObjectSetOffsets(WkObject* object, int top, int bottom, int left, int right);

// Puts an object without parent into the form (a window's main form):
// before the sibling, taking its ties, or at the end; the form is laid out
// again, at its preferred size with resizeParent.
void WkObjectInsert(WkObject* form, WkObject* object, WkObject* before, int resizeParent);
void WkObjectMoveBefore(WkObject* form, WkObject* object, WkObject* before);

// The callback gets (form, key code, user data) for every key the form
// does not use itself, which is then consumed; added to a form or a
// window's main form.
void WkAddAccelerator(WkObject* object, int keyCode, WkValueCallback callback, void* userData);

// A part or a composite's wrapper form stands for its first part, down to
// an object that is neither.
WkObject* WkResolveComposite(WkObject* object);
// The children of the current page, resolved as above: the first, then the
// next one at each call; none past the end.
WkObject* WkFormFirstChild(WkObject* form);
WkObject* WkFormNextChild(WkObject* form);
int WkFormGetChildCount(WkObject* form);
