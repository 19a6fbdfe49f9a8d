// The output-files page's widgets: the viewer of the file shown and the
// table of the page's buttons. BuildOutputPage (output_page.h) creates them
// once and fills OutputPage; the handles live for the process and are
// cleared when the window goes.
#pragma once

struct WkObject;

struct OutputPageWidgets {
    WkObject* fileViewer = nullptr;
    WkObject* outputButtons = nullptr; // its buttons come with ConnectOutputPage
    // TournamentOpenings as the page last showed it.
    int tournamentOpenings = 0;
};

inline OutputPageWidgets OutputPage;
