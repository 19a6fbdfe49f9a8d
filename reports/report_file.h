// Building a report in memory and writing it out as one file.
//
// Every report is formatted into a std::string with printf-style formats and
// "\n" line ends, then written in one go: the bytes go to a temporary file
// beside the target with each "\n" turned into CR LF, and that file replaces
// the target only when every byte has been written, so a report that cannot
// be written leaves the earlier file as it was. Texts are Windows-1252 bytes
// and pass through unchanged. Also holds the report file names of the data
// folder, a safe view of the fixed text fields the reports print, and the
// notes of the report files not written, which it owns.
#pragma once

#include "tournament/files/atomic_file.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// Appends the printf-style format to out (any length; never truncated).
void AppendFormat(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Single fields exactly as AppendFormat prints them, for the lines written
// by the hundred thousand (a player card's rounds), without reading a
// format: a whole number as "%*d" ("%-*d" when left), a fixed-point number
// as "%*.*f", a text as "%*.*s" ("%-*.*s" when left; a precision below 0
// takes it whole).
void AppendInt(std::string& out, long long value, int width = 0, bool left = false);
void AppendFixed(std::string& out, double value, int width, int precision);
void AppendText(std::string& out, const char* text, int width, int precision = -1, bool left = false);

// A line of count copies of c and "\n".
void AppendRule(std::string& out, char c, int count);

// Writes text to path whole, "\n" as CR LF. Returns true when the file
// stands complete; on failure an earlier file of that name is left alone
// and the path is noted among the reports not written.
bool WriteReportFile(const std::string& path, const std::string& text);

// The reports not written: every report file that failed, here or in a
// ReportStream, is noted (by any thread) until taken. A command that writes
// many reports through writers that report nothing themselves (the standing
// reports after a recomputation) forgets the notes first and alerts them at
// its end, so that the arbiter learns once which files are still the old ones.
// Notes a file written by a writer of its own (the rating preview) that
// failed, so that the command's one alert names it with the reports.
void NoteReportNotWritten(const std::string& path);
// The paths noted, in name order, each once; the notes are emptied.
std::vector<std::string> TakeReportsNotWritten();
// MsgCannotCreateFile with the paths taken, one a line, when there is any.
// True when an alert was shown.
bool AlertReportsNotWritten();
// Runs a command's writers with the earlier notes forgotten; when they
// fail, MsgCannotCreateFile names the files they did not write. True when
// everything was written.
bool WriteReportsOrAlert(const std::function<bool()>& write);

// A report written to its file while it is made, for the reports of
// megabytes (the player cards of a large tournament): a text made whole
// first costs fresh memory for every byte of it. text() holds what is not
// written yet; pass() writes it once it is large and empties it, keeping
// its room for what follows; commit() writes the rest and puts the file in
// place as WriteReportFile does. A report not committed, or whose writing
// failed, leaves the earlier file as it was and, once the stream is gone, no
// temporary file; a failed commit is noted as WriteReportFile notes it.
class ReportStream {
  public:
    explicit ReportStream(const std::string& path);

    std::string& text() { return text_; }
    void pass();
    // True when the file stands complete; a stream commits once.
    bool commit();

  private:
    AtomicFileWriter file_;
    std::string text_;
    bool ok_; // everything passed so far reached the file
};

// The tournament's DataFolder followed by the file name made from a pattern
// with one round number ("pairs%d.txt") or a plain name ("index.html").
std::string DataFolderFile(const char* name);
std::string DataFolderFile(const char* pattern, int round) __attribute__((format(printf, 1, 0)));

// The text of a fixed field up to its terminator, or all of it when a
// corrupt record holds none; so no field is ever read past its end.
std::string FieldText(const char* field, std::size_t size);
template <std::size_t N> std::string FieldText(const char (&field)[N]) { return FieldText(field, N); }
