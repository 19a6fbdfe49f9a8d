// One change of a folder's files, carried out whole or not at all, also
// across a kill or a power cut, and the recovery that finishes or drops a
// change that was stopped.
//
// A change is a list of steps (write a file, link, rename, remove) carried
// out in order. Every new file is written whole to "<path>.tmp"; then a
// record of the change (every step, each new file's size and checksum, and
// a last line that tells the record is whole) is written, and the new files
// and the record are synced, then the folder: from then on the change
// stands and the steps are carried out. (A record on disk before one of its
// files is dropped by recovery, which finds that file not whole.) Steps that touch a name an earlier step touched are put
// on disk only after the folder is synced again, so that a power cut leaves
// any mix of unsynced steps that recovery can tell apart. The record goes
// once the last step is synced.
//
// The record file is made when the Journal is made, and names each
// temporary file as it is made: a change stopped before its record is whole
// leaves nothing that recovery does not remove.
#pragma once

#include "tournament/files/atomic_file.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

class Journal {
  public:
    // recordPath: the change's record, e.g. TournamentJournalPath() for a
    // tournament. A record found standing there is recovered first
    // (RecoverJournal); what that says is in recovered().
    explicit Journal(std::string recordPath);
    // A change never committed leaves nothing behind: its temporary files
    // and its record go.
    ~Journal();
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;

    // New contents for path: the caller writes into writer.stream() (or
    // passes the writer to a WriteXInto). Committed by commit(), never by
    // the writer itself. With keepUnchanged, a file whose new bytes are
    // those it holds is left alone when another step changes something and
    // no other step touches its name (an autosave's tournament file beside
    // its round-state file: the change is then one rename, with no record).
    AtomicFileWriter& write(const std::string& path, bool keepUnchanged = false);
    // A second name for from (a copy where the folder takes no links).
    void link(const std::string& from, const std::string& to);
    void rename(const std::string& from, const std::string& to);
    // A file already missing when the change is committed is passed over.
    void remove(const std::string& path);

    enum class Outcome { Before, After, Stands };
    // Before: nothing of the folder changed (problem names the file that
    // failed and why). After: every step is done. Stands: the record stands
    // but a step failed; the next RecoverJournal finishes the change
    // (problem names the step's file). Commit may be called once.
    Outcome commit(std::string& problem);

    // What recovering a record found standing at construction said (empty
    // when there was none).
    const std::string& recovered() const { return recovered_; }

    struct Step {
        enum Kind { Write, Link, Rename, Remove } kind;
        std::string from; // the path written, linked, renamed or removed
        std::string to;   // the new name of a link or a rename
        bool keepUnchanged = false;
    };

  private:
    std::string recordPath_;
    std::string recovered_;
    std::string unwritable_; // why the record could not be made
    std::FILE* record_ = nullptr;
    std::string written_; // what the record holds so far
    std::vector<Step> steps_;
    std::deque<std::unique_ptr<AtomicFileWriter>> writers_;
    bool committed_ = false;
    bool standing_ = false; // an earlier change still stands: its files are left alone
};

// Run before a folder's files are read or written again (tourman's Open,
// uscfreport's start and every Done): finishes a change whose record stands
// and whose new files are whole (size and checksum as the record gives
// them), else drops it: its new files are removed, the old ones stay, the
// record goes. Also removes the temporary files and the record of a change
// that never got its record whole. Each step is judged done or not by
// looking at the folder, so recovery may itself be stopped and run again.
// Returns what the user must be told: empty when nothing was found; else a
// text naming the change finished or the files dropped. A record left by
// the previous version ("<first target>.commit", a list of targets without
// sizes or checksums) cannot be checked: its temporary files are removed,
// the old files stay, and the text names what was dropped.
std::string RecoverJournal(const std::string& recordPath);
// The same for the previous version's record of the files whose first
// target is firstTarget ("<firstTarget>.commit").
std::string DropOldCommitRecord(const std::string& firstTarget);

// The checksum a record gives a new file: FNV-1a, 64 bits.
std::uint64_t JournalChecksum(const std::string& bytes);
