#include "tournament/files/journal.h"

#include "tournament/files/host_files.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <set>
#include <thread>

// The record, CR LF lines with tab-separated fields; a name is relative to
// the record's folder when it starts with "./":
//   tmp     <name>                       one per new file, as it is made
//   write   <size> <checksum> <name>     the steps, in order
//   link    <from> <to>
//   rename  <from> <to>
//   remove  <name>
//   whole   <steps> <checksum of every byte before this line>

namespace {

using Step = Journal::Step;

// A written step's new file, as the record gives it.
struct NewFile {
    long long size = -1;
    std::uint64_t checksum = 0;
};

std::string TemporaryOf(const std::string& path) { return path + ".tmp"; }

bool Exists(const std::string& path) { return HostFileKindOf(path) != HostFileKind::Missing; }

bool ReadBytes(const std::string& path, std::string& bytes) {
    std::FILE* file = OpenHostFile(path, "rb");
    if (file == nullptr) return false;
    bytes.clear();
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
    const bool good = std::ferror(file) == 0;
    std::fclose(file);
    return good;
}

std::string Hex(std::uint64_t value) {
    static const char digits[] = "0123456789abcdef";
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i, value >>= 4) text[static_cast<std::size_t>(i)] = digits[value & 15];
    return text;
}

std::string Because() { return errno != 0 ? std::string(": ") + std::strerror(errno) : std::string(); }

// The names a step touches: steps that share none may reach the disk in any
// order.
std::vector<std::string> NamesOf(const Step& step) {
    if (step.kind == Step::Write) return {step.from, TemporaryOf(step.from)};
    if (step.kind == Step::Remove) return {step.from};
    return {step.from, step.to};
}

// Whether the folder shows the step done. Each look is at one name, whose
// state under any mix of unsynced steps is one the steps passed through in
// order; commit refuses a list in which a step would look done before it
// is.
bool LooksDone(const Step& step) {
    switch (step.kind) {
    case Step::Write: return !Exists(TemporaryOf(step.from));
    case Step::Link: return Exists(step.to);
    case Step::Rename:
    case Step::Remove: return !Exists(step.from);
    }
    return false;
}

// syncBefore[i]: the folders are synced before step i, which touches a name
// an earlier step since the last sync touched.
std::vector<bool> SyncPoints(const std::vector<Step>& steps) {
    std::vector<bool> syncBefore(steps.size(), false);
    std::set<std::string> touched;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const std::vector<std::string> names = NamesOf(steps[i]);
        for (const std::string& name : names)
            if (touched.count(name) != 0) syncBefore[i] = true;
        if (syncBefore[i]) touched.clear();
        touched.insert(names.begin(), names.end());
    }
    return syncBefore;
}

std::set<std::string> FoldersOf(const std::vector<Step>& steps, const std::string& recordPath) {
    std::set<std::string> folders{HostFolderOf(recordPath)};
    for (const Step& step : steps)
        for (const std::string& name : NamesOf(step)) folders.insert(HostFolderOf(name));
    return folders;
}

bool SyncFolders(const std::set<std::string>& folders, std::string& failed) {
    for (const std::string& folder : folders)
        if (!SyncHostFolder(folder)) {
            failed = (folder.empty() ? std::string("./") : folder) + Because();
            return false;
        }
    return true;
}

// A second name for from; a synced copy put in place by a rename where the
// folder takes no links.
bool LinkOrCopy(const std::string& from, const std::string& to) {
    errno = 0;
    if (LinkHostFile(from, to) == 0) return true;
    if (errno == EEXIST || errno == ENOENT) return false;
    std::string bytes;
    if (!ReadBytes(from, bytes)) return false;
    AtomicFileWriter copy(to);
    return copy.ok() && std::fwrite(bytes.data(), 1, bytes.size(), copy.stream()) == bytes.size() && copy.commit();
}

bool CarryOut(const Step& step) {
    switch (step.kind) {
    case Step::Write: return RenameHostFile(TemporaryOf(step.from), step.from) == 0;
    case Step::Link: return LinkOrCopy(step.from, step.to);
    case Step::Rename: return RenameHostFile(step.from, step.to) == 0;
    case Step::Remove: return RemoveHostFile(step.from) == 0;
    }
    return false;
}

// The file a step's failure is told by: the one it puts in place or takes away.
const std::string& FileOf(const Step& step) {
    return step.kind == Step::Link || step.kind == Step::Rename ? step.to : step.from;
}

// The new files and the record put on disk before the first step, all at
// once: a sync mostly waits for the disk, so each but the record's runs on a
// thread of its own. A record that reaches the disk before a new file does
// is safe: its checksum tells recovery that the file is not whole, and no
// step is taken before every sync is done. failed names the file that failed.
bool SyncAtOnce(const std::deque<std::unique_ptr<AtomicFileWriter>>& writers, const std::string& recordPath,
                std::string& failed) {
    std::vector<char> synced(writers.size(), 0);
    std::vector<int> errors(writers.size(), 0);
    {
        std::vector<std::thread> syncs;
        for (std::size_t k = 0; k < writers.size(); ++k)
            syncs.emplace_back([&, k] {
                errno = 0;
                synced[k] = SyncHostFile(writers[k]->temporaryPath());
                errors[k] = errno;
            });
        errno = 0;
        const bool record = SyncHostFile(recordPath);
        const int error = errno;
        for (std::thread& sync : syncs) sync.join();
        errno = error;
        if (!record) failed = recordPath + Because();
    }
    for (std::size_t k = 0; k < writers.size() && failed.empty(); ++k) {
        errno = errors[k];
        if (!synced[k]) failed = writers[k]->temporaryPath() + Because();
    }
    return failed.empty();
}

std::string NameInRecord(const std::string& path, const std::string& folder) {
    if (path.compare(0, folder.size(), folder) == 0) return "./" + path.substr(folder.size());
    return path;
}

std::string PathOfRecordName(const std::string& name, const std::string& folder) {
    if (name.compare(0, 2, "./") == 0) return folder + name.substr(2);
    return name;
}

// A name as the user is told it: without the record's folder.
std::string Shown(const std::string& path, const std::string& folder) {
    if (!folder.empty() && path.compare(0, folder.size(), folder) == 0) return path.substr(folder.size());
    return path;
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

// The record read back. whole: its last line is there and tells the steps
// and the bytes before it as they are.
struct Record {
    bool whole = false;
    std::vector<std::string> temporaries; // the new files made, whole record or not
    std::vector<Step> steps;
    std::vector<NewFile> files; // one per step; size -1 but for a write
};

Record ParseRecord(const std::string& bytes, const std::string& folder) {
    Record record;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) break; // a line cut short is not read
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::vector<std::string> f = Fields(line);
        const auto path = [&](std::size_t i) { return PathOfRecordName(f[i], folder); };
        if (f[0] == "tmp" && f.size() == 2) {
            record.temporaries.push_back(TemporaryOf(path(1)));
        } else if (f[0] == "write" && f.size() == 4) {
            NewFile file;
            char* rest = nullptr;
            file.size = std::strtoll(f[1].c_str(), &rest, 10);
            file.checksum = std::strtoull(f[2].c_str(), &rest, 16);
            record.steps.push_back({Step::Write, path(3), {}});
            record.files.push_back(file);
        } else if ((f[0] == "link" || f[0] == "rename") && f.size() == 3) {
            record.steps.push_back({f[0] == "link" ? Step::Link : Step::Rename, path(1), path(2)});
            record.files.push_back({});
        } else if (f[0] == "remove" && f.size() == 2) {
            record.steps.push_back({Step::Remove, path(1), {}});
            record.files.push_back({});
        } else if (f[0] == "whole" && f.size() == 3 && end + 1 == bytes.size()) {
            record.whole = f[1] == std::to_string(record.steps.size()) &&
                           f[2] == Hex(JournalChecksum(bytes.substr(0, start)));
        } else {
            break;
        }
        start = end + 1;
    }
    return record;
}

std::string ListOf(const std::vector<std::string>& names) {
    std::string list;
    for (const std::string& name : names) list += (list.empty() ? "" : ", ") + name;
    return list;
}

} // namespace

std::uint64_t JournalChecksum(const std::string& bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

Journal::Journal(std::string recordPath) : recordPath_(std::move(recordPath)) {
    HostFileKind kind = HostFileKindOf(recordPath_);
    if (kind != HostFileKind::Missing) {
        recovered_ = RecoverJournal(recordPath_);
        kind = HostFileKindOf(recordPath_);
    }
    // Opened for writing, a FIFO in the record's place would wait for a
    // reader for good: the commit says so instead. The record is made only
    // where none is: a change that still stands (recovery could not finish
    // it, or a look missed it) is finished by a later recovery, and never
    // written over by a change of its own files.
    errno = 0;
    if (kind == HostFileKind::Missing) record_ = OpenHostFile(recordPath_, "wbx");
    standing_ = kind == HostFileKind::Regular || (record_ == nullptr && errno == EEXIST);
    if (standing_)
        unwritable_ = recordPath_ + ": an earlier change of these files still stands and could not be finished";
    else if (record_ == nullptr)
        unwritable_ = recordPath_ + (kind == HostFileKind::Other ? ": not a regular file" : ": cannot be written" + Because());
}

Journal::~Journal() {
    // The temporary files of a change that stands are that change's.
    if (committed_ || standing_) return;
    writers_.clear(); // an open temporary file goes with its writer
    for (const Step& step : steps_)
        if (step.kind == Step::Write) RemoveHostFile(TemporaryOf(step.from));
    if (record_ != nullptr) {
        std::fclose(record_);
        RemoveHostFile(recordPath_);
    }
}

AtomicFileWriter& Journal::write(const std::string& path, bool keepUnchanged) {
    // Named in the record before it is made, so that a stop from here on
    // leaves nothing recovery does not know of.
    if (record_ != nullptr) {
        const std::string line = "tmp\t" + NameInRecord(path, HostFolderOf(recordPath_)) + "\r\n";
        std::fwrite(line.data(), 1, line.size(), record_);
        std::fflush(record_);
        written_ += line;
    }
    steps_.push_back({Step::Write, path, {}, keepUnchanged});
    writers_.push_back(std::make_unique<AtomicFileWriter>(
        path, standing_ ? AtomicFileWriter::Open::Never : AtomicFileWriter::Open::Now));
    return *writers_.back();
}

void Journal::link(const std::string& from, const std::string& to) { steps_.push_back({Step::Link, from, to}); }
void Journal::rename(const std::string& from, const std::string& to) { steps_.push_back({Step::Rename, from, to}); }
void Journal::remove(const std::string& path) { steps_.push_back({Step::Remove, path, {}}); }

Journal::Outcome Journal::commit(std::string& problem) {
    const std::string folder = HostFolderOf(recordPath_);
    if (committed_ || record_ == nullptr) {
        problem = committed_ ? recordPath_ + ": committed twice" : unwritable_;
        return Outcome::Before;
    }
    // Every new file whole, and its size and checksum for the record. A
    // file to be kept when unchanged is left alone, but in a change of
    // nothing else, which is carried out as a save asked for.
    std::vector<NewFile> files(steps_.size());
    std::vector<bool> unchanged(steps_.size(), false);
    std::size_t writer = 0;
    for (std::size_t i = 0; i < steps_.size(); ++i) {
        if (steps_[i].kind != Step::Write) continue;
        AtomicFileWriter& file = *writers_[writer++];
        std::string bytes, old;
        errno = 0;
        if (!file.ok() || !file.close() || !ReadBytes(file.temporaryPath(), bytes)) {
            problem = steps_[i].from + Because();
            return Outcome::Before;
        }
        files[i] = {static_cast<long long>(bytes.size()), JournalChecksum(bytes)};
        const auto touches = [&](const Step& other) {
            const std::vector<std::string> names = NamesOf(other);
            return &other != &steps_[i] && std::find(names.begin(), names.end(), steps_[i].from) != names.end();
        };
        unchanged[i] = steps_[i].keepUnchanged && std::none_of(steps_.begin(), steps_.end(), touches) &&
                       HostFileKindOf(steps_[i].from) == HostFileKind::Regular && ReadBytes(steps_[i].from, old) &&
                       old == bytes;
    }
    if (std::count(unchanged.begin(), unchanged.end(), true) == static_cast<long>(steps_.size()))
        unchanged.assign(steps_.size(), false);
    for (const Step& step : steps_)
        for (const std::string& name : NamesOf(step))
            if (name.find_first_of("\t\r\n") != std::string::npos) {
                problem = name + ": a file name with a tab or a line end";
                return Outcome::Before;
            }

    // The steps are tried on the names as they are now: each must be
    // possible, and must not look done before it is (recovery tells done
    // steps by looking). A removal of a missing file is passed over.
    std::vector<Step> steps;
    std::vector<NewFile> stepFiles;
    {
        struct Name {
            bool exists = false, everExisted = false, everMissing = false;
        };
        std::map<std::string, Name> names;
        const auto name = [&](const std::string& path) -> Name& {
            auto found = names.find(path);
            if (found == names.end()) {
                // A look that fails finds nothing: a second one keeps a
                // single failure from passing a removal over or taking a
                // link's name for free.
                const bool exists = Exists(path) || Exists(path);
                found = names.emplace(path, Name{exists, exists, !exists}).first;
            }
            return found->second;
        };
        const auto set = [&](const std::string& path, bool exists) {
            Name& n = name(path);
            n.exists = exists;
            (exists ? n.everExisted : n.everMissing) = true;
        };
        for (std::size_t i = 0; i < steps_.size(); ++i) {
            const Step& step = steps_[i];
            std::string refused;
            if (step.kind == Step::Write || step.kind == Step::Rename) {
                const std::string& target = step.kind == Step::Write ? step.from : step.to;
                if (HostFileKindOf(target) == HostFileKind::Other) refused = target + ": not a regular file";
            }
            if ((step.kind == Step::Remove && !name(step.from).exists) || unchanged[i]) continue;
            if (refused.empty() && step.kind == Step::Write && name(TemporaryOf(step.from)).everMissing)
                refused = TemporaryOf(step.from) + ": taken by another step";
            if (refused.empty() && (step.kind == Step::Link || step.kind == Step::Rename) && !name(step.from).exists)
                refused = step.from + ": no such file";
            if (refused.empty() && step.kind == Step::Link && name(step.to).everExisted)
                refused = step.to + (name(step.to).exists ? ": exists already" : ": taken by another step");
            if (refused.empty() && (step.kind == Step::Rename || step.kind == Step::Remove) &&
                name(step.from).everMissing)
                refused = step.from + ": taken by another step";
            if (!refused.empty()) {
                problem = refused;
                return Outcome::Before;
            }
            switch (step.kind) {
            case Step::Write:
                set(TemporaryOf(step.from), false);
                set(step.from, true);
                break;
            case Step::Link: set(step.to, true); break;
            case Step::Rename:
                set(step.from, false);
                set(step.to, true);
                break;
            case Step::Remove: set(step.from, false); break;
            }
            steps.push_back(step);
            stepFiles.push_back(files[i]);
        }
    }

    // The files left alone go before the record, which names them until
    // they are gone.
    const auto unchangedGone = [&] {
        bool gone = true;
        for (std::size_t i = 0; i < steps_.size(); ++i)
            if (unchanged[i] && RemoveHostFile(TemporaryOf(steps_[i].from)) != 0) gone = false;
        return gone;
    };
    // A change of one file (an autosave) is one rename, which needs no
    // record: synced first, the file is the old one or the new one.
    if (steps.empty() || (steps.size() == 1 && steps[0].kind == Step::Write)) {
        committed_ = true;
        const std::string temporary = steps.empty() ? std::string() : TemporaryOf(steps[0].from);
        errno = 0;
        const bool done = steps.empty() || (SyncHostFile(temporary) && RenameHostFile(temporary, steps[0].from) == 0);
        if (!done) {
            problem = steps[0].from + Because();
            RemoveHostFile(temporary);
        }
        std::fclose(record_);
        record_ = nullptr;
        if (unchangedGone()) RemoveHostFile(recordPath_);
        if (done && !steps.empty()) SyncHostFolder(HostFolderOf(steps[0].from));
        return done ? Outcome::After : Outcome::Before;
    }

    // The record, synced with its folder: from here on the change stands.
    std::string text;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const Step& step = steps[i];
        const std::string from = NameInRecord(step.from, folder), to = NameInRecord(step.to, folder);
        switch (step.kind) {
        case Step::Write:
            text += "write\t" + std::to_string(stepFiles[i].size) + "\t" + Hex(stepFiles[i].checksum) + "\t" + from;
            break;
        case Step::Link: text += "link\t" + from + "\t" + to; break;
        case Step::Rename: text += "rename\t" + from + "\t" + to; break;
        case Step::Remove: text += "remove\t" + from; break;
        }
        text += "\r\n";
    }
    // The whole line's checksum covers the record's bytes before it, the
    // lines naming the new files included.
    text += "whole\t" + std::to_string(steps.size()) + "\t" + Hex(JournalChecksum(written_ + text)) + "\r\n";
    errno = 0;
    bool written = std::fwrite(text.data(), 1, text.size(), record_) == text.size() && std::fflush(record_) == 0 &&
                   std::ferror(record_) == 0;
    written = std::fclose(record_) == 0 && written;
    record_ = nullptr;
    committed_ = true;
    std::string failed;
    const std::set<std::string> folders = FoldersOf(steps, recordPath_);
    if (!written || !SyncAtOnce(writers_, recordPath_, failed) || !SyncFolders(folders, failed)) {
        problem = failed.empty() ? recordPath_ + Because() : failed;
        // Without its record the change never was; should the record not
        // go, it stands and the next recovery finishes the change.
        if (RemoveHostFile(recordPath_) != 0 && Exists(recordPath_)) return Outcome::Stands;
        for (const Step& step : steps_)
            if (step.kind == Step::Write) RemoveHostFile(TemporaryOf(step.from));
        return Outcome::Before;
    }

    const std::vector<bool> syncBefore = SyncPoints(steps);
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (syncBefore[i] && !SyncFolders(folders, failed)) {
            problem = failed;
            return Outcome::Stands;
        }
        errno = 0;
        if (!CarryOut(steps[i])) {
            problem = FileOf(steps[i]) + Because();
            return Outcome::Stands;
        }
    }
    if (!SyncFolders(folders, failed)) {
        problem = failed;
        return Outcome::Stands;
    }
    // A file left alone that will not go keeps the record, which names it,
    // for recovery to remove.
    errno = 0;
    if (!unchangedGone()) return Outcome::After;
    if (RemoveHostFile(recordPath_) != 0) {
        problem = recordPath_ + Because();
        return Outcome::Stands;
    }
    // Should the record's removal not reach the disk, recovery finds every
    // step done and only removes it; synced, no alert tells of a change
    // that was done.
    SyncHostFolder(folder);
    return Outcome::After;
}

std::string RecoverJournal(const std::string& recordPath) {
    const HostFileKind kind = HostFileKindOf(recordPath);
    if (kind == HostFileKind::Missing) return std::string();
    const std::string folder = HostFolderOf(recordPath);
    std::string bytes;
    errno = 0;
    if (kind == HostFileKind::Other || !ReadBytes(recordPath, bytes))
        return "The record of a change of the files cannot be read, and nothing was changed:\n" + recordPath +
               (kind == HostFileKind::Other ? ": not a regular file" : Because());
    const Record record = ParseRecord(bytes, folder);
    if (!record.whole) {
        // The change never stood: what it made goes, the old files stay.
        for (const std::string& temporary : record.temporaries) RemoveHostFile(temporary);
        for (const Step& step : record.steps)
            if (step.kind == Step::Write) RemoveHostFile(TemporaryOf(step.from));
        RemoveHostFile(recordPath);
        return std::string();
    }

    const std::vector<Step>& steps = record.steps;
    const std::vector<bool> syncBefore = SyncPoints(steps);
    // The last step done: the steps before its group were synced before it
    // began, and no later step looks done before it is.
    std::size_t groupStart = 0, lastDone = steps.size();
    for (std::size_t i = steps.size(); i-- > 0;)
        if (LooksDone(steps[i])) {
            lastDone = i;
            break;
        }
    if (lastDone < steps.size()) {
        groupStart = lastDone;
        while (groupStart > 0 && !syncBefore[groupStart]) --groupStart;
    }
    std::vector<bool> pending(steps.size(), true);
    for (std::size_t i = 0; i < groupStart; ++i) pending[i] = false;
    if (lastDone < steps.size())
        for (std::size_t i = groupStart; i < steps.size() && (i == groupStart || !syncBefore[i]); ++i)
            pending[i] = !LooksDone(steps[i]);

    // Only new files that are whole are put in place.
    std::vector<std::string> notWhole;
    const auto notYet = [&](const std::string& what) {
        return "A change of the files that was stopped could not be finished yet: " + what +
               "\nIt is finished when the files are opened next.";
    };
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (!pending[i] || steps[i].kind != Step::Write) continue;
        std::string file;
        const std::string temporary = TemporaryOf(steps[i].from);
        errno = 0;
        if (!ReadBytes(temporary, file)) {
            // A new file that is there but could not be read is not judged:
            // the change waits rather than be dropped whole.
            const std::string because = Because();
            if (HostFileKindOf(temporary) != HostFileKind::Missing) return notYet(Shown(temporary, folder) + because);
            notWhole.push_back(Shown(temporary, folder));
        } else if (static_cast<long long>(file.size()) != record.files[i].size ||
                   JournalChecksum(file) != record.files[i].checksum) {
            notWhole.push_back(Shown(temporary, folder));
        }
    }
    const bool begun = lastDone < steps.size();
    if (!notWhole.empty()) {
        for (std::size_t i = 0; i < steps.size(); ++i)
            if (pending[i] && steps[i].kind == Step::Write) RemoveHostFile(TemporaryOf(steps[i].from));
        for (const std::string& temporary : record.temporaries) RemoveHostFile(temporary);
        RemoveHostFile(recordPath);
        SyncHostFolder(folder);
        std::string dropped;
        for (std::size_t i = 0; i < steps.size(); ++i)
            if (pending[i]) dropped += (dropped.empty() ? "" : ", ") + Shown(FileOf(steps[i]), folder);
        return std::string("A change of the files that was stopped could not be finished: its new files ") +
               ListOf(notWhole) + " were not whole.\nIt was dropped (" + dropped + ")" +
               (begun ? ", after part of it was done: check these files."
                      : "; the files are as they were before it.");
    }

    std::string failed;
    const std::set<std::string> folders = FoldersOf(steps, recordPath);
    std::vector<std::string> done;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        done.push_back(Shown(FileOf(steps[i]), folder));
        if (!pending[i]) continue;
        if (syncBefore[i] && !SyncFolders(folders, failed)) return notYet(failed);
        errno = 0;
        if (!CarryOut(steps[i])) return notYet(Shown(FileOf(steps[i]), folder) + Because());
    }
    // What the change made and left alone goes with the record.
    for (const std::string& temporary : record.temporaries) RemoveHostFile(temporary);
    if (!SyncFolders(folders, failed) || RemoveHostFile(recordPath) != 0)
        return notYet(failed.empty() ? recordPath + Because() : failed);
    SyncHostFolder(folder);
    return "A change of the files that was stopped has been finished:\n" + ListOf(done) + ".";
}

std::string DropOldCommitRecord(const std::string& firstTarget) {
    const std::string recordPath = firstTarget + ".commit";
    if (!Exists(recordPath)) return std::string();
    const std::string folder = HostFolderOf(recordPath);
    std::string bytes;
    ReadBytes(recordPath, bytes);
    std::vector<std::string> targets;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        // The earlier version wrote full paths: the files are looked for in
        // the record's folder, wherever the folder was then.
        if (!line.empty()) targets.push_back(folder + line.substr(line.rfind('/') + 1));
        start = end + 1;
    }
    if (targets.empty()) targets.push_back(firstTarget);
    std::vector<std::string> names;
    for (const std::string& target : targets) {
        RemoveHostFile(TemporaryOf(target));
        names.push_back(Shown(target, folder));
    }
    RemoveHostFile(recordPath);
    SyncHostFolder(folder);
    return "A save stopped under an earlier version of the program cannot be checked, and was dropped: the files " +
           ListOf(names) + " are as they were before it.";
}
