#include "tournament/files/atomic_file.h"

AtomicFileWriter::AtomicFileWriter(const std::string& path) : path_(path), temporary_(path + ".tmp") {
    file_ = std::fopen(temporary_.c_str(), "wb");
}

AtomicFileWriter::~AtomicFileWriter() {
    if (file_ != nullptr) {
        std::fclose(file_);
        std::remove(temporary_.c_str());
    }
}

bool AtomicFileWriter::commit() {
    if (file_ == nullptr) return false;
    bool good = std::fflush(file_) == 0 && std::ferror(file_) == 0;
    good = std::fclose(file_) == 0 && good;
    file_ = nullptr;
    if (good) good = std::rename(temporary_.c_str(), path_.c_str()) == 0;
    if (!good) std::remove(temporary_.c_str());
    return good;
}
