// The customise dialog, "Customizing <name>": restyles a configured object
// (one WkObjectConfigure named and gave a mask) while the program runs. A
// click with Shift and Ctrl held opens it for the nearest object, from the
// one clicked up through its parents, that has a mask. It edits the keys of
// that mask: shadow, background and foreground colours (or taken from the
// parent), transparency, font and text. With "Auto proof" on each change
// shows on the object at once; Apply sets them all, Undo goes back to the
// values the object had when the dialog opened, Save applies and writes
// the object's settings section.
//
// Each dialog window owns its state, freed with the window; whatever was
// applied stays on the object after Close.
#pragma once

struct WkObject;

// Installs WkCustomizeDialog as the top-level windows' customise hook.
void WkEnableCustomize();
// Opens the dialog (modal, not waited for); beeps when no configured
// object is found or it has no name.
void WkCustomizeDialog(WkObject* object);
