// The header form of a report: "Do USCF Report" reads the first line of
// every listed section file for the event's dates and opens the modal form
// "USCF Tournament Report Generator" with the event's thirteen header
// fields; its "Done" writes the three USCF export files into the current
// folder and closes it, its "Cancel" closes it without writing.
//
// The form's widgets belong to its window; HeaderForm holds their handles
// while the form is open and is emptied when it closes.
#pragma once

struct WkObject;

inline constexpr int kHeaderFields = 13;

// The form's window title and heading.
inline constexpr const char* HeaderFormTitle = "USCF Tournament Report Generator";

struct HeaderFormWidgets {
    WkObject* window = nullptr;
    // In writing order: 0 "Event ID" .. 12 "ID Assist. TD"; 10 is a drop-down.
    WkObject* fields[kHeaderFields] = {};
    WkObject* cancelButton = nullptr;
    WkObject* doneButton = nullptr;
};

extern HeaderFormWidgets HeaderForm;

// The push buttons' callbacks.
void DoUscfReport(WkObject* button, void* record, void* userData);
void WriteUscfExports(WkObject* button, void* record, void* userData);
void CancelHeaderForm(WkObject* button, void* record, void* userData);
// Builds and shows the form with the dates of ReportDates.
void ShowHeaderForm();
