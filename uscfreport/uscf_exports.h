// The USCF files of the report: the reader of a section's "uscfsctn.txt"
// (the section folders' contract with tourman) and the writer of the three
// export files "thexport.txt", "tsexport.txt" and "tdexport.txt".
//
// Every section file is read whole and checked before any export is
// touched, and the three exports are written to temporary files that
// replace the old ones together, only when all three are whole and across a
// kill too, so that a failure leaves the previous set as it was. Lines are read without their line
// ends and written with CR LF.
#pragma once

#include <string>
#include <vector>

inline constexpr const char* kSectionFileName = "uscfsctn.txt";

// What a report takes from one section file.
struct SectionFile {
    std::string beginDate, endDate; // digits, as written on line 1
    int playerCount = 0;            // as line 1 announces it
    std::string sectionLine;        // line 2
    std::vector<std::string> playerLines; // playerCount of them
};

// The event's first and last day over every section of a report: the
// earliest begin date and the latest end date, compared as numbers.
struct ReportDateTexts {
    std::string earliestBegin = "99999999";
    std::string latestEnd = "00000000";
};
extern ReportDateTexts ReportDates;

// Reads the section file in folder (a path ending in '/'). False with the
// alert text in error when the file cannot be opened (openFailure, then the
// file's full name on a second line) or its lines are not what tourman
// writes: the error then names the file and the line.
bool ReadSectionFile(const std::string& folder, SectionFile& section, std::string& error,
                     const std::string& openFailure);

// Takes the section's dates into the report's.
void MergeReportDates(ReportDateTexts& dates, const SectionFile& section);

// Writes the three exports into folder (ending in '/') from the thirteen
// header fields (field 0 the Event ID) and the sections in list order, as
// one change of the folder's journal. False with the alert text in error,
// which names the file that failed and says whether the exports are as
// they were or the new ones are put in place at the next start.
// RecoverExports finishes or drops a change of the exports that was
// stopped (and drops the previous version's record), returning what the
// user must be told (empty when nothing was found): the program's start and
// every Done run it on their folder first.
bool WriteExportFiles(const std::string& folder, const std::vector<std::string>& fields,
                      const std::vector<SectionFile>& sections, std::string& error);
std::string RecoverExports(const std::string& folder);
// "<folder>thexport.txt.journal".
std::string ExportsJournalPath(const std::string& folder);
