// Stops a command at a chosen step on disk as a power cut would: only what
// was synced survives. Works beside file_steps.h, which stops the command;
// this layer sees every open for writing, sync, link, rename and remove
// through the host-file observer (tournament/files/host_files.h) and then
// rebuilds the folder as the disk would hold it after the cut:
// - a file's bytes are those of its last sync (nothing, for a file never
//   synced); a file that was there before the command counts as synced;
// - the folder's names are those of its last folder sync (those before the
//   command count as synced);
// - pass 0 stops there; each further pass applies one choice of the
//   renames, links and removes taken since the last folder sync on top, in
//   their order: every subset of them while there are at most
//   kMostSubsetSteps, else every prefix. A file made since the last folder
//   sync and never carried into a name by such a step is lost.
// Only the folder's own regular files are rebuilt; its subfolders are left
// alone.
//
//   const int passes = power_cut::CutAt(folder, step, pass, command);
// runs command in a child stopped before its step'th step (0 is the first),
// leaves folder as pass leaves it and returns the number of passes the step
// has (0 when the command ended before that step: the folder is then as the
// command left it). power_cut::Cut gives every pass of one stop from one run.
#pragma once

#include "tests/support/file_steps.h"
#include "tournament/files/host_files.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace power_cut {

inline constexpr std::size_t kMostSubsetSteps = 8;

// A step as the observer saw it; bytes: the file's bytes at a sync.
struct Event {
    HostFileEvent kind;
    std::string path, to, bytes;
};

// The files of a folder, by name, and their bytes.
using Files = std::map<std::string, std::string>;

inline Files FolderFiles(const std::string& folder) {
    Files files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.is_regular_file()) {
            std::ifstream in(entry.path(), std::ios::binary);
            files[entry.path().filename().string()] = std::string(std::istreambuf_iterator<char>(in), {});
        }
    return files;
}

// The events of a command, kept in an unnamed file that a child process
// shares with its parent: made before the fork, recorded in the child (or
// in this process), read after.
class Log {
  public:
    Log() : file_(std::tmpfile()) {
        if (file_ == nullptr) std::abort();
    }
    ~Log() {
        stop();
        std::fclose(file_);
    }
    Log(const Log&) = delete;
    Log& operator=(const Log&) = delete;

    // From now on every step is written to the log.
    void record() {
        std::fflush(file_);
        Current() = this;
        previous_ = SetHostFileObserver(Observe);
        recording_ = true;
    }
    void stop() {
        if (!recording_) return;
        SetHostFileObserver(previous_);
        Current() = nullptr;
        recording_ = false;
    }
    std::vector<Event> events() const {
        std::vector<Event> events;
        std::fflush(file_);
        std::string bytes;
        const int descriptor = fileno(file_);
        char buffer[65536];
        ssize_t got = 0;
        for (off_t at = 0; (got = pread(descriptor, buffer, sizeof buffer, at)) > 0; at += got) bytes.append(buffer, std::size_t(got));
        std::size_t at = 0;
        const auto take = [&](std::string& field) {
            std::uint64_t size = 0;
            std::memcpy(&size, bytes.data() + at, sizeof size);
            field = bytes.substr(at + sizeof size, size);
            at += sizeof size + size;
        };
        while (at < bytes.size()) {
            Event event{HostFileEvent(bytes[at++]), {}, {}, {}};
            take(event.path);
            take(event.to);
            take(event.bytes);
            events.push_back(event);
        }
        return events;
    }

  private:
    static Log*& Current() {
        static Log* current = nullptr;
        return current;
    }
    static void Observe(HostFileEvent kind, const std::string& path, const std::string& to) {
        std::string bytes;
        if (kind == HostFileEvent::Sync) {
            std::ifstream in(path, std::ios::binary);
            bytes.assign(std::istreambuf_iterator<char>(in), {});
        }
        std::string record(1, char(kind));
        for (const std::string* field : std::initializer_list<const std::string*>{&path, &to, &bytes}) {
            const std::uint64_t size = field->size();
            record.append(reinterpret_cast<const char*>(&size), sizeof size);
            record += *field;
        }
        static std::mutex lock;
        const std::lock_guard<std::mutex> held(lock);
        // Written at once, so that a child ended by _exit leaves it whole.
        const int descriptor = fileno(Current()->file_);
        for (std::size_t done = 0; done < record.size();) {
            const ssize_t put = ::write(descriptor, record.data() + done, record.size() - done);
            if (put <= 0) std::abort();
            done += std::size_t(put);
        }
    }

    std::FILE* file_;
    HostFileObserver previous_ = nullptr;
    bool recording_ = false;
};

// The disk after a cut: the folder before the command and what the command
// did to it, replayed on files (inodes) and names.
class Cut {
  public:
    Cut(std::string folder, const Files& before, const std::vector<Event>& events) : folder_(std::move(folder)) {
        if (!folder_.empty() && folder_.back() != '/') folder_ += '/';
        for (const auto& [name, bytes] : before) {
            if (name.find('/') != std::string::npos) continue; // in a subfolder
            live_[name] = synced_[name] = int(files_.size());
            files_.push_back(bytes);
        }
        for (const Event& event : events) replay(event);
    }
    int passes() const {
        const std::size_t n = pending_.size();
        return 1 + int(n <= kMostSubsetSteps ? (std::size_t(1) << n) - 1 : n);
    }
    // The names and bytes the pass leaves.
    Files files(int pass) const {
        std::map<std::string, int> names = synced_;
        const std::size_t n = pending_.size();
        for (std::size_t i = 0; i < n; ++i) {
            const bool applied = n <= kMostSubsetSteps ? ((pass >> i) & 1) != 0 : int(i) < pass;
            if (!applied) continue;
            const NameStep& step = pending_[i];
            if (step.kind != HostFileEvent::Link && step.kind != HostFileEvent::Rename) {
                if (names.count(step.from) && names[step.from] == step.file) names.erase(step.from);
                continue;
            }
            names[step.to] = step.file;
            if (step.kind == HostFileEvent::Rename && names.count(step.from) && names[step.from] == step.file)
                names.erase(step.from);
        }
        Files left;
        for (const auto& [name, file] : names) left[name] = files_[std::size_t(file)];
        return left;
    }
    // The folder's regular files replaced by those the pass leaves.
    void leave(int pass) const {
        for (const auto& entry : std::filesystem::directory_iterator(folder_))
            if (entry.is_regular_file()) std::filesystem::remove(entry.path());
        for (const auto& [name, bytes] : files(pass)) std::ofstream(folder_ + name, std::ios::binary) << bytes;
    }
    // The name steps not synced at the cut, one line each ("rename a b").
    std::string pending() const {
        std::ostringstream text;
        for (const NameStep& step : pending_)
            text << (step.kind == HostFileEvent::Link ? "link " : step.kind == HostFileEvent::Rename ? "rename " : "remove ")
                 << step.from << (step.to.empty() ? "" : " " + step.to) << "\n";
        return text.str();
    }

  private:
    struct NameStep {
        HostFileEvent kind;
        std::string from, to;
        int file;
    };
    // The name in the folder, or empty for a path elsewhere.
    std::string nameOf(const std::string& path) const {
        if (path.compare(0, folder_.size(), folder_) != 0) return std::string();
        const std::string name = path.substr(folder_.size());
        return name.find('/') == std::string::npos ? name : std::string();
    }
    void replay(const Event& event) {
        const std::string name = nameOf(event.path), to = nameOf(event.to);
        switch (event.kind) {
        case HostFileEvent::OpenForWrite:
            if (!name.empty() && !live_.count(name)) {
                live_[name] = int(files_.size());
                files_.emplace_back(); // never synced: nothing of it is on disk
            }
            break;
        case HostFileEvent::Sync:
            if (live_.count(name)) files_[std::size_t(live_[name])] = event.bytes;
            break;
        case HostFileEvent::SyncFolder:
            if (event.path == folder_ || event.path + "/" == folder_) {
                synced_ = live_;
                pending_.clear();
            }
            break;
        case HostFileEvent::Link:
        case HostFileEvent::Rename:
            if (name.empty() || to.empty() || !live_.count(name)) break;
            pending_.push_back({event.kind, name, to, live_[name]});
            live_[to] = live_[name];
            if (event.kind == HostFileEvent::Rename) live_.erase(name);
            break;
        case HostFileEvent::Remove:
            if (!live_.count(name)) break;
            pending_.push_back({event.kind, name, {}, live_[name]});
            live_.erase(name);
            break;
        }
    }

    std::string folder_;
    std::vector<std::string> files_; // each file's bytes as of its last sync
    std::map<std::string, int> live_, synced_;
    std::vector<NameStep> pending_;
};

// Runs command in a child process stopped before its step'th step; false
// when it ended before taking that many. The events it took go to log.
template <typename Command> bool StoppedAt(long step, Log& log, Command&& command) {
    const pid_t child = fork();
    if (child == 0) {
        log.record();
        {
            file_steps::Counting counting(step, true); // ends the child with 77 at the step
            command();
        }
        _exit(0);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child) std::abort();
    return WIFEXITED(status) && WEXITSTATUS(status) == 77;
}

// The command stopped before its step'th step by a power cut, as the disk
// holds folder after it; false (and nothing rebuilt) when the command ended
// before that step.
template <typename Command>
bool CutAt(const std::string& folder, long step, Command&& command, std::optional<Cut>& cut) {
    const Files before = FolderFiles(folder);
    Log log;
    if (!StoppedAt(step, log, command)) return false;
    cut.emplace(folder, before, log.events());
    return true;
}

// The one call: the command stopped before its step'th step, the folder left
// as the pass leaves it; the number of passes the step has, 0 when the
// command ended before that step.
template <typename Command> int CutAt(const std::string& folder, long step, int pass, Command&& command) {
    std::optional<Cut> cut;
    if (!CutAt(folder, step, command, cut)) return 0;
    cut->leave(pass);
    return cut->passes();
}

// The events of command run whole in this process.
template <typename Command> std::vector<Event> Recorded(Command&& command) {
    Log log;
    log.record();
    command();
    log.stop();
    return log.events();
}

// What in events would not survive a power cut in folder: a rename or a
// link of a file whose last bytes were not synced before it, and a name
// step of the folder after which the folder was not synced. Empty when
// nothing. With only given, the steps on the folder's names that begin
// with it alone are looked at (a change's files, not the reports beside).
inline std::vector<std::string> SyncFaults(const std::string& folder, const std::vector<Event>& events,
                                           const std::string& only = "") {
    std::string prefix = folder;
    if (!prefix.empty() && prefix.back() != '/') prefix += '/';
    std::map<std::string, bool> dirty; // by name: written since its last sync
    std::vector<std::string> faults;
    std::string unsynced;
    for (const Event& event : events) {
        const bool inFolder = event.path.compare(0, prefix.size(), prefix) == 0;
        if (event.kind != HostFileEvent::SyncFolder && inFolder &&
            event.path.compare(prefix.size(), only.size(), only) != 0)
            continue;
        switch (event.kind) {
        case HostFileEvent::OpenForWrite: dirty[event.path] = true; break;
        case HostFileEvent::Sync: dirty[event.path] = false; break;
        case HostFileEvent::SyncFolder:
            if (event.path == prefix || event.path + "/" == prefix) unsynced.clear();
            break;
        case HostFileEvent::Link:
        case HostFileEvent::Rename:
            if (dirty[event.path]) faults.push_back(event.path + " put in place as " + event.to + " before it was synced");
            dirty[event.to] = dirty[event.path];
            if (inFolder) unsynced = event.to;
            break;
        case HostFileEvent::Remove:
            if (inFolder) unsynced = event.path;
            break;
        }
    }
    if (!unsynced.empty()) faults.push_back("the folder not synced after the step on " + unsynced);
    return faults;
}

} // namespace power_cut
