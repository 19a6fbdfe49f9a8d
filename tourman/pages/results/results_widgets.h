// The results page's widgets: the round field and the round's buttons, the
// result entry's toggle, the list of the boards, the board field and label,
// the result key field and the nine result buttons. BuildResultsPage
// (results_page.h) creates them once and fills ResultsPage; the handles live
// for the process and are cleared when the window goes.
#pragma once

struct WkObject;

struct ResultsPageWidgets {
    WkObject* roundField = nullptr;
    WkObject* repairButton = nullptr;
    WkObject* colorImprovementButton = nullptr;
    WkObject* loadResultsButton = nullptr;
    WkObject* resultsToggle = nullptr;
    WkObject* resultsList = nullptr;
    WkObject* boardField = nullptr;
    WkObject* boardLabel = nullptr;
    WkObject* resultKeyField = nullptr;
    WkObject* resultButtons[9] = {};
    // RoundStateLoads as the page last showed it: the fields start anew
    // when the rounds were put in place again since.
    int roundStateLoads = 0;
};

inline ResultsPageWidgets ResultsPage;
