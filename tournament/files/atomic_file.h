// Safe replacement of a file on disk (files that belong together are
// changed through a journal, journal.h).
//
// An AtomicFileWriter writes to a temporary file beside the target (the
// target's name with ".tmp" appended) and only a copy that was written,
// flushed and closed without any error is renamed over the target. A crash,
// a full disk or a write error therefore never leaves a half-written file in
// place of a good one: the old file stays until the new one is whole. The
// writer owns its temporary file and removes it unless the commit succeeded.
#pragma once

#include <cstdio>
#include <string>

class AtomicFileWriter {
  public:
    // Creates the temporary file; ok() tells whether that worked. A writer
    // made with Open::Never creates nothing and is never ok() (a journal
    // that must not touch the temporary files of a change still standing).
    enum class Open { Now, Never };
    explicit AtomicFileWriter(const std::string& path, Open open = Open::Now);
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
    // Flushes and closes the temporary file, which stays for the caller to
    // sync and rename (a journal); false on an error.
    bool close();
    // Gives the new contents up (a writer that found it cannot write them
    // whole): the temporary file goes and ok() is false, so that neither a
    // commit nor a journal puts a part of a file in place.
    void discard();

  private:

    std::string path_;
    std::string temporary_;
    std::FILE* file_ = nullptr;
};
