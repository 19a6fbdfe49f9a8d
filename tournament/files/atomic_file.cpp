#include "tournament/files/atomic_file.h"

#include <filesystem>
#include <system_error>
#include <vector>

AtomicFileWriter::AtomicFileWriter(const std::string& path) : path_(path), temporary_(path + ".tmp") {
    file_ = std::fopen(temporary_.c_str(), "wb");
}

AtomicFileWriter::~AtomicFileWriter() {
    if (file_ != nullptr) {
        std::fclose(file_);
        std::remove(temporary_.c_str());
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
    if (good) good = std::rename(temporary_.c_str(), path_.c_str()) == 0;
    if (!good) std::remove(temporary_.c_str());
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
        const std::string& target = files[i]->path_;
        std::error_code error;
        existed[i] = fs::exists(fs::symlink_status(target, error));
        if (!existed[i]) continue;
        fs::remove(target + ".old", error);
        fs::create_hard_link(target, target + ".old", error);
        if (error) fs::copy_file(target, target + ".old", fs::copy_options::overwrite_existing, error);
        if (error) bad = i;
    }
    while (replaced < files.size() && bad == files.size()) {
        if (std::rename(files[replaced]->temporary_.c_str(), files[replaced]->path_.c_str()) == 0)
            ++replaced;
        else
            bad = replaced;
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string& target = files[i]->path_;
        if (bad != files.size() && i < replaced) {
            if (existed[i])
                std::rename((target + ".old").c_str(), target.c_str());
            else
                std::remove(target.c_str());
        }
        if (existed[i]) std::remove((target + ".old").c_str());
        std::remove(files[i]->temporary_.c_str());
    }
    if (bad != files.size() && failed) *failed = bad;
    return bad == files.size();
}
