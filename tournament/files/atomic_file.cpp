#include "tournament/files/atomic_file.h"

#include "tournament/files/host_files.h"


AtomicFileWriter::AtomicFileWriter(const std::string& path, Open open) : path_(path), temporary_(path + ".tmp") {
    if (open == Open::Now) file_ = OpenHostFile(temporary_, "wb");
}

AtomicFileWriter::~AtomicFileWriter() {
    if (file_ != nullptr) {
        std::fclose(file_);
        RemoveHostFile(temporary_);
    }
}

bool AtomicFileWriter::close() {
    if (file_ == nullptr) return false;
    bool good = std::fflush(file_) == 0 && std::ferror(file_) == 0;
    good = std::fclose(file_) == 0 && good;
    file_ = nullptr;
    return good;
}

void AtomicFileWriter::discard() {
    // Only a temporary file this writer made is its to remove.
    if (file_ == nullptr) return;
    std::fclose(file_);
    file_ = nullptr;
    RemoveHostFile(temporary_);
}

bool AtomicFileWriter::commit() {
    // Synced before the rename: after a power cut the name would otherwise
    // be the new file's while its bytes never reached the disk.
    bool good = close() && SyncHostFile(temporary_);
    if (good) good = RenameHostFile(temporary_, path_) == 0;
    if (!good) RemoveHostFile(temporary_);
    return good;
}
