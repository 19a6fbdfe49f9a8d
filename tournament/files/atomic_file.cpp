#include "tournament/files/atomic_file.h"

#include "tournament/files/host_files.h"

#include <filesystem>
#include <system_error>
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

bool AtomicFileWriter::commit() {
    bool good = close();
    if (good) good = RenameHostFile(temporary_, path_) == 0;
    if (!good) RemoveHostFile(temporary_);
    return good;
}

bool CommitTogether(std::initializer_list<AtomicFileWriter*> writers, std::size_t* failed) {
    namespace fs = std::filesystem;
    const std::vector<AtomicFileWriter*> files(writers);
    std::vector<bool> existed(files.size(), false);
    std::size_t bad = files.size(), replaced = 0;
    for (std::size_t i = 0; i < files.size(); ++i)
        if (!files[i]->close() && bad == files.size()) bad = i;
    // The old targets kept aside before the first of them is replaced.
    for (std::size_t i = 0; i < files.size() && bad == files.size(); ++i) {
        const std::string target = HostFileName(files[i]->path_);
        std::error_code error;
        existed[i] = fs::exists(fs::symlink_status(target, error));
        if (!existed[i]) continue;
        fs::remove(target + ".old", error);
        fs::create_hard_link(target, target + ".old", error);
        if (error) fs::copy_file(target, target + ".old", fs::copy_options::overwrite_existing, error);
        if (error) bad = i;
    }
    while (replaced < files.size() && bad == files.size()) {
        if (RenameHostFile(files[replaced]->temporary_, files[replaced]->path_) == 0)
            ++replaced;
        else
            bad = replaced;
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string& target = files[i]->path_;
        if (bad != files.size() && i < replaced) {
            if (existed[i])
                RenameHostFile(target + ".old", target);
            else
                RemoveHostFile(target);
        }
        if (existed[i]) RemoveHostFile(target + ".old");
        RemoveHostFile(files[i]->temporary_);
    }
    if (bad != files.size() && failed) *failed = bad;
    return bad == files.size();
}
