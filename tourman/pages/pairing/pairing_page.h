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
// The page as the round stands: waiting for a pairing, the pair and manual
// buttons act; a round proposed, the list holds its boards and the accept
// and cancel buttons act. A Swiss round's boards stay listed until its
// results are closed; otherwise the list is empty.
void ShowPairingPageState();
