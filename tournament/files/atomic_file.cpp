#include "tournament/files/atomic_file.h"

#include "tournament/files/host_files.h"

#include <vector>

AtomicFileWriter::AtomicFileWriter(const std::string& path) : path_(path), temporary_(path + ".tmp") {
    file_ = OpenHostFile(temporary_, "wb");
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

bool AtomicFileWriter::closeAndSync() {
    return close() && SyncHostFile(temporary_);
}

bool AtomicFileWriter::commit() {
    // Synced before the rename: after a power cut the name would otherwise
    // be the new file's while its bytes never reached the disk.
    bool good = closeAndSync();
    if (good) good = RenameHostFile(temporary_, path_) == 0;
    if (!good) RemoveHostFile(temporary_);
    return good;
}

std::string CommitRecordPath(const std::string& firstTarget) {
    return firstTarget + ".commit";
}

bool CommitStands(const std::string& firstTarget) {
    return HostFileKindOf(CommitRecordPath(firstTarget)) != HostFileKind::Missing;
}

namespace {

// Puts a standing commit's temporary file over its target; true when it is
// there (now, or by an earlier try). A rename refused once is tried again,
// and a temporary file that is gone was renamed before.
bool RollForward(const std::string& target) {
    const std::string temporary = target + ".tmp";
    if (RenameHostFile(temporary, target) == 0 || RenameHostFile(temporary, target) == 0) return true;
    return HostFileKindOf(temporary) == HostFileKind::Missing;
}

} // namespace

bool CommitTogether(std::initializer_list<AtomicFileWriter*> writers, std::size_t* failed) {
    const std::vector<AtomicFileWriter*> files(writers);
    std::size_t bad = files.size() + 1;
    // A target that is no regular file (a folder in its place) could not be
    // replaced once the commit stands: refused before.
    for (std::size_t i = 0; i < files.size(); ++i)
        if (!files[i]->close() && bad > files.size()) bad = i;
    for (std::size_t i = 0; i < files.size() && bad > files.size(); ++i)
        if (HostFileKindOf(files[i]->path_) == HostFileKind::Other) bad = i;
    const std::string record = files.empty() ? std::string() : CommitRecordPath(files[0]->path_);
    if (bad > files.size() && !files.empty()) {
        // The record says which files the commit replaces; that it exists
        // is what counts, so it is made in one step.
        std::FILE* out = OpenHostFile(record, "wb");
        if (out != nullptr) {
            for (const AtomicFileWriter* file : files) std::fprintf(out, "%s\r\n", file->path_.c_str());
            std::fclose(out);
        } else {
            bad = files.size();
        }
    }
    if (bad <= files.size()) {
        for (const AtomicFileWriter* file : files) RemoveHostFile(file->temporary_);
        if (failed) *failed = bad;
        return false;
    }
    // The commit stands: every target gets its new file.
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (!RollForward(files[i]->path_) && bad > files.size()) bad = i;
    }
    if (bad <= files.size()) {
        if (failed) *failed = bad;
        return false;
    }
    RemoveHostFile(record);
    return true;
}

void FinishCommitTogether(std::initializer_list<std::string> targets) {
    if (targets.size() == 0) return;
    if (!CommitStands(*targets.begin())) {
        // Never committed: the old targets stand; what was written aside goes.
        for (const std::string& target : targets) RemoveHostFile(target + ".tmp");
        return;
    }
    bool whole = true;
    for (const std::string& target : targets) whole = RollForward(target) && whole;
    if (whole) RemoveHostFile(CommitRecordPath(*targets.begin()));
}
