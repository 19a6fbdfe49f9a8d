// Safe replacement of a file on disk, and of files that belong together
// (CommitTogether, with its commit record).
//
// An AtomicFileWriter writes to a temporary file beside the target (the
// target's name with ".tmp" appended) and only a copy that was written,
// flushed and closed without any error is renamed over the target. A crash,
// a full disk or a write error therefore never leaves a half-written file in
// place of a good one: the old file stays until the new one is whole. The
// writer owns its temporary file and removes it unless the commit succeeded.
#pragma once

#include <cstdio>
#include <initializer_list>
#include <string>

class AtomicFileWriter {
  public:
    // Creates the temporary file; ok() tells whether that worked.
    explicit AtomicFileWriter(const std::string& path);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    bool ok() const { return file_ != nullptr; }
    // The open temporary file, written in binary mode (the caller writes its
    // own "\r\n" line ends); null when it could not be created.
    std::FILE* stream() { return file_; }
    const std::string& path() const { return path_; }

    const std::string& temporaryPath() const { return temporary_; }

    // Flushes, closes and syncs the temporary file and renames it over the
    // target. False when anything failed on the way; the target is then
    // untouched and the temporary file is gone.
    bool commit();
    // Flushes, closes and syncs the temporary file, which stays for the
    // caller to rename (a journal); false on an error.
    bool closeAndSync();

  private:
    friend bool CommitTogether(std::initializer_list<AtomicFileWriter*> writers, std::size_t* failed);
    // Flushes and closes the temporary file, which stays; false on an error.
    bool close();

    std::string path_;
    std::string temporary_;
    std::FILE* file_ = nullptr;
};

// Commits files that belong together, every one or none, also across a
// kill or a power cut. Once every temporary file is whole, a commit record
// (CommitRecordPath of the first target) is made: from then on the commit
// stands, the temporary files are renamed over their targets and the record
// is removed. FinishCommitTogether, run before the files are read or written
// again (at the program's start), completes a commit whose record it finds
// and else removes the temporary files of one that never got its record, so
// that a reader finds the old set or the new one, never a mix. False when
// the commit did not happen, with the position of the writer that failed in
// failed (when given; the number of writers when the record could not be
// made): the old targets are then in place and every temporary file is
// gone. A rename that fails once the record stands is tried again; should
// it fail again, false names it, and the next FinishCommitTogether completes
// the commit.
bool CommitTogether(std::initializer_list<AtomicFileWriter*> writers, std::size_t* failed = nullptr);
void FinishCommitTogether(std::initializer_list<std::string> targets);
// "<first target>.commit".
std::string CommitRecordPath(const std::string& firstTarget);
// Whether a commit of the files whose first target is firstTarget stands
// unfinished (its record is there): the next FinishCommitTogether puts the
// new files in place. After a failed CommitTogether, false means that the
// old files stand.
bool CommitStands(const std::string& firstTarget);
