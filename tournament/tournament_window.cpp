#include "tournament/tournament_window.h"

TournamentWindowHooks TournamentWindow;
