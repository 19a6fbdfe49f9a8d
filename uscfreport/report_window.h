// uscfreport's start and its one main window: the File menu (Open, Save,
// Exit), the folder tree, the three buttons and the list of section folders,
// and the exit question. The window's widgets are created once at start and
// kept as process-wide handles until the process ends.
#pragma once

#include <cstdint>

struct WkObject;
struct WkMenuItem;
struct WkMessage;

struct ReportWindowWidgets {
    WkObject* window = nullptr;
    WkObject* menuBar = nullptr;
    WkObject* fileMenu = nullptr;
    WkMenuItem* openItem = nullptr;
    WkMenuItem* saveItem = nullptr;
    WkMenuItem* exitItem = nullptr;
    WkObject* dirTree = nullptr;
    WkObject* addButton = nullptr;
    WkObject* removeButton = nullptr;
    WkObject* reportButton = nullptr;
};

extern ReportWindowWidgets ReportWindow;

// The program's name: the main window's title and its boxes'.
inline constexpr const char* ReportProgramTitle = "Tournament Report";

// The application's main: StartReportApplication, then the event loop.
int ReportAppMain(int argc, char** argv);
// Everything before the event loop: the toolkit's loop and forms, the
// message boxes, the main window built and shown with its close callback.
void StartReportApplication();
// Builds the main window (not yet shown), fills ReportWindow and SectionList.
WkObject* BuildReportWindow();

// The exit question: " Not " stays, " Yes " ends the program, " Save before "
// ends it once the list was saved (or there was nothing to save). Returns 1
// when the program stays.
int ConfirmExit(WkObject* window, std::intptr_t, void*, WkMessage*);
// The question with the buttons " Not ", " Yes " and " Save before ";
// returns 0, 1 or 2.
int AskThreeWay(const char* title, const char* text);
