// Safe replacement of a file on disk.
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

    // Flushes and closes the temporary file and renames it over the target.
    // False when anything failed on the way; the target is then untouched
    // and the temporary file is gone.
    bool commit();

  private:
    friend bool CommitTogether(std::initializer_list<AtomicFileWriter*> writers, std::size_t* failed);
    // Flushes and closes the temporary file, which stays; false on an error.
    bool close();

    std::string path_;
    std::string temporary_;
    std::FILE* file_ = nullptr;
};

// Commits files that belong together, every one or none: the temporary files
// are closed first, the old targets kept aside (as hard links, or copies),
// and when a rename fails the targets already replaced get their old files
// back, so that a reader never finds a new file beside an old one. False
// when anything failed, with the position of the writer that failed in
// failed (when given); every temporary file is then gone.
bool CommitTogether(std::initializer_list<AtomicFileWriter*> writers, std::size_t* failed = nullptr);
