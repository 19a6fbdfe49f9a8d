// The pairing page: built by BuildPairingPage into its notebook page (the
// list of the proposed boards, the two option toggles, the pair, manual,
// accept, cancel, logs and print buttons) and wired by ConnectPairingPage
// to the round commands (round_commands.h), the manual pairing, the run
// options and the output page's print and logs. The widgets are PairingPage
// (pairing_widgets.h).
#pragma once

struct WkObject;

// Builds the page into page, filling PairingPage.
void BuildPairingPage(WkObject* page);
// Connects the page's buttons, toggles and list.
void ConnectPairingPage();
