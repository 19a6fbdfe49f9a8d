// The home page "index.html" of the tournament's web site.
//
// Links the three summary pages and, for every round from 1 to CurrentRound,
// the round's pairing page and its result page; a round that is paired but
// whose results are not saved yet (IS_PAIRING_DONE) is listed without a
// result link. Reads the settings and the round state only.
#pragma once

// Writes DataFolder "index.html" whole. Returns false when it could not be
// written (an earlier page is then left as it was).
bool WriteHtmlIndex();
