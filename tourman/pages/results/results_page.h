// The results page: built by BuildResultsPage into its notebook page (the
// round field and the round's buttons, the result entry's toggle, the list
// of the boards, the board field and label, the result key field and the
// nine result buttons) and wired by ConnectResultsPage to the listing of a
// round (results_list.h), the result entry (result_entry.h), the results
// file, the colour improvement and the re-pairing of the round. The widgets
// are ResultsPage (results_widgets.h).
#pragma once

struct WkObject;

// Builds the page into page, filling ResultsPage.
void BuildResultsPage(WkObject* page);
// Connects the page's fields, toggle, list and buttons.
void ConnectResultsPage();

// The page as the tournament stands. It lists the shown round (the current
// one when the shown round is none of 1..CurrentRound; nothing before round
// 1), its number in the round field, which takes another only while the
// tournament waits for its next pairing and no result entry is open; the
// re-pair, colour and load-results buttons act only on the current round.
// A list filled anew has no board chosen.
void ShowResultsPageState();
