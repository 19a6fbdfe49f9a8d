#include "tournament/settings.h"

namespace {

constexpr TournamentSettings DefaultSettings() {
    TournamentSettings defaults{};
    defaults.PairingSystem = FideDubovSystem;
    defaults.RatingChoice = 1;
    defaults.TieBreakOrder[0] = BuchholzCut1TieBreak;
    defaults.TieBreakOrder[1] = BuchholzTotalTieBreak;
    return defaults;
}

} // namespace

TournamentSettings Settings = DefaultSettings();

const char TieBreakTitles[TieBreakCodeCount][8] = {
    "", " Buc1 ", " BucT ", " BucM ", "  S-B ", " Cmlt ", "  ARO ", " Mblk ", " Mwns ", " APRO ",
};

void ResetSettings() {
    Settings = DefaultSettings();
}

const char* TieBreakTitle(int code) {
    if (code < 0 || code >= TieBreakCodeCount) return TieBreakTitles[0];
    return TieBreakTitles[code];
}
