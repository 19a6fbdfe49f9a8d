// The players page's widgets: the player entry form, its buttons, the
// notebook of the player lists (with the database page as its third tab),
// the lists' popup menu, the search field and the page's two commands.
// BuildPlayersPage (players_page.h) creates them once and fills PlayersPage;
// the handles live for the process and are cleared when the window goes.
#pragma once

struct WkObject;

struct PlayersPageWidgets {
    // The player form.
    WkObject* name = nullptr;
    WkObject* country = nullptr;
    WkObject* birthday = nullptr;
    WkObject* gender = nullptr;
    WkObject* title = nullptr;
    WkObject* fideId = nullptr;
    WkObject* fideRating = nullptr;
    WkObject* nationalId = nullptr;
    WkObject* nationalRating = nullptr;
    WkObject* kFactor = nullptr;
    WkObject* available = nullptr;
    WkObject* addButton = nullptr;
    WkObject* changeButton = nullptr;
    WkObject* clearButton = nullptr;
    // The player lists.
    WkObject* playerTabs = nullptr;
    WkObject* playerList = nullptr;
    WkObject* unavailableList = nullptr;
    WkObject* playerListMenu = nullptr;
    WkObject* search = nullptr;
    WkObject* deleteButton = nullptr;
    WkObject* closeRegistrationButton = nullptr;
    // The model's counts as the page last showed them, and whether the
    // tournament had started then: the form is emptied when a tournament is
    // made or opened, when rounds are put in place whole (a round file read,
    // the registration opened anew) and when the tournament starts.
    int tournamentOpenings = -1;
    int roundStateLoads = -1;
    bool started = false;
};

inline PlayersPageWidgets PlayersPage;
