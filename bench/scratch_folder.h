// A benchmark run's scratch folder: made fresh in the temporary folder
// (TMPDIR, else /tmp) under a name no other run has, so that two runs at
// once never write into each other's files, and removed with everything in
// it when the object goes.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& prefix) {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/" + prefix + ".XXXXXX";
        if (mkdtemp(pattern.data())) path_ = pattern + "/";
        else failed_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder, ending with '/'; empty when none could be made.
    const std::string& path() const { return path_; }
    // The name that could not be made, for the message.
    const std::string& failed() const { return failed_; }

private:
    std::string path_, failed_;
};

// The process's one scratch folder, made at the first call and removed when
// the process ends; empty when none could be made.
inline const std::string& RunScratchFolder(const std::string& prefix) {
    static const ScratchFolder folder(prefix);
    return folder.path();
}
