// The journal: a change of several files is carried out whole; stopped at
// any step, by a kill, a power cut or a refused step, recovery leaves the
// folder byte for byte as before the change or as after it; a record whose
// new files are not whole is dropped and named; every new file is synced
// before it is put in place, and the folder after.
#include "tournament/files/journal.h"

#include "tests/support/file_steps.h"
#include "tests/support/power_cut.h"
#include "tournament/files/host_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;
using power_cut::Files;

// A step: 'w' writes to (the bytes) into from ('k': kept when unchanged);
// 'l' links, 'r' renames from to to; 'd' removes from.
struct Op {
    char kind;
    const char* from;
    const char* to;
};
struct Change {
    const char* name;
    std::vector<Op> ops;
    Files after;
};

const Files kBefore = {{"cup.qon", "qon 1\r\n"},
                       {"cup.rnd", "rnd 1\r\n"},
                       {"cup1.rnd", "snapshot 1\r\n"},
                       {"notes.txt", "kept\r\n"}};

const std::vector<Change> kChanges = {
    {"two files written together",
     {{'w', "cup.qon", "qon 2\r\n"}, {'w', "cup.rnd", "rnd 2\r\n"}},
     {{"cup.qon", "qon 2\r\n"}, {"cup.rnd", "rnd 2\r\n"}, {"cup1.rnd", "snapshot 1\r\n"}, {"notes.txt", "kept\r\n"}}},
    {"rounds set aside under other names",
     {{'w', "cup-reopened.players", "2 players\r\n"},
      {'l', "cup.rnd", "cup-reopened.rnd"},
      {'r', "cup1.rnd", "cup-reopened-round1.rnd"},
      {'w', "cup.qon", "qon 0\r\n"},
      {'d', "cup.rnd", nullptr}},
     {{"cup-reopened-round1.rnd", "snapshot 1\r\n"},
      {"cup-reopened.players", "2 players\r\n"},
      {"cup-reopened.rnd", "rnd 1\r\n"},
      {"cup.qon", "qon 0\r\n"},
      {"notes.txt", "kept\r\n"}}},
    {"a name moved away and written again",
     {{'r', "cup.rnd", "cup-old.rnd"}, {'w', "cup.rnd", "rnd 3\r\n"}, {'d', "cup1.rnd", nullptr}, {'d', "gone.rnd", nullptr}},
     {{"cup-old.rnd", "rnd 1\r\n"}, {"cup.qon", "qon 1\r\n"}, {"cup.rnd", "rnd 3\r\n"}, {"notes.txt", "kept\r\n"}}},
    {"one file written again as it is, beside one changed",
     {{'k', "cup.qon", "qon 1\r\n"}, {'w', "cup.rnd", "rnd 2\r\n"}},
     {{"cup.qon", "qon 1\r\n"}, {"cup.rnd", "rnd 2\r\n"}, {"cup1.rnd", "snapshot 1\r\n"}, {"notes.txt", "kept\r\n"}}},
    {"the last file emptied",
     {{'w', "notes.txt", ""}},
     {{"cup.qon", "qon 1\r\n"}, {"cup.rnd", "rnd 1\r\n"}, {"cup1.rnd", "snapshot 1\r\n"}, {"notes.txt", ""}}},
};

class JournalTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        folder = std::string(TM_TEST_OUTPUT_DIR) + "/" + name + "/";
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    void Put(const Files& files) {
        for (const auto& entry : fs::directory_iterator(folder)) fs::remove_all(entry.path());
        for (const auto& [name, bytes] : files) std::ofstream(folder + name, std::ios::binary) << bytes;
    }
    std::string Record() const { return folder + "cup.journal"; }
    Journal::Outcome Apply(const Change& change, std::string& problem) {
        Journal journal(Record());
        for (const Op& op : change.ops) {
            const std::string from = folder + op.from, to = op.to ? folder + op.to : std::string();
            if (op.kind == 'w' || op.kind == 'k') {
                AtomicFileWriter& file = journal.write(from, op.kind == 'k');
                if (file.ok()) std::fputs(op.to, file.stream());
            }
            if (op.kind == 'l') journal.link(from, to);
            if (op.kind == 'r') journal.rename(from, to);
            if (op.kind == 'd') journal.remove(from);
        }
        return journal.commit(problem);
    }
    // The folder as recovery leaves it must be the one before or the one after.
    void RecoveredAsBeforeOrAfter(const Change& change, const std::string& how) {
        RecoverJournal(Record());
        const Files now = power_cut::FolderFiles(folder);
        EXPECT_TRUE(now == kBefore || now == change.after) << change.name << ", " << how;
    }

    std::string folder;
};

TEST_F(JournalTest, EveryChangeIsCarriedOutWholeAndSynced) {
    for (const Change& change : kChanges) {
        Put(kBefore);
        std::string problem;
        Journal::Outcome outcome = Journal::Outcome::Before;
        const std::vector<power_cut::Event> events = power_cut::Recorded([&] { outcome = Apply(change, problem); });
        EXPECT_EQ(outcome, Journal::Outcome::After) << change.name << ": " << problem;
        EXPECT_EQ(power_cut::FolderFiles(folder), change.after) << change.name;
        // Every new file synced before it is put in place, and the folder after.
        EXPECT_EQ(power_cut::SyncFaults(folder, events), std::vector<std::string>()) << change.name;
        EXPECT_EQ(RecoverJournal(Record()), "") << change.name;
    }
    // A single file's save syncs it before its rename.
    const std::vector<power_cut::Event> single = power_cut::Recorded([&] {
        AtomicFileWriter file(folder + "notes.txt");
        std::fputs("saved alone\r\n", file.stream());
        EXPECT_TRUE(file.commit());
    });
    for (const std::string& fault : power_cut::SyncFaults(folder, single))
        EXPECT_EQ(fault.find("before it was synced"), std::string::npos) << fault;
    // A journal dropped without its commit leaves nothing behind.
    Put(kBefore);
    {
        Journal journal(Record());
        std::fputs("never\r\n", journal.write(folder + "cup.qon").stream());
    }
    EXPECT_EQ(power_cut::FolderFiles(folder), kBefore);
}

// Killed before any step of the commit, and then killed again before any
// step of the recovery, the folder recovers as before or after.
TEST_F(JournalTest, AKillAtEveryStepRecoversBeforeOrAfter) {
    for (const Change& change : kChanges) {
        std::string problem;
        const auto apply = [&] { Apply(change, problem); };
        Put(kBefore);
        const long steps = file_steps::CountSteps(apply);
        for (long step = 0; step < steps; ++step) {
            Put(kBefore);
            ASSERT_TRUE(file_steps::KilledAt(step, apply));
            const Files stopped = power_cut::FolderFiles(folder);
            RecoveredAsBeforeOrAfter(change, "killed at " + std::to_string(step));
            const Files recovered = power_cut::FolderFiles(folder);
            const auto recover = [&] { RecoverJournal(Record()); };
            Put(stopped);
            const long again = file_steps::CountSteps(recover);
            for (long second = 0; second < again; ++second) {
                Put(stopped);
                ASSERT_TRUE(file_steps::KilledAt(second, recover));
                RecoverJournal(Record());
                EXPECT_EQ(power_cut::FolderFiles(folder), recovered)
                    << change.name << ", killed at " << step << " and in its recovery at " << second;
            }
        }
    }
}

// A power cut before any step of the commit keeps only what was synced, with
// every subset of the unsynced name steps; recovery gives before or after.
// A cut once the commit is over finds it on disk whole.
TEST_F(JournalTest, APowerCutAtEveryStepRecoversBeforeOrAfter) {
    for (const Change& change : kChanges) {
        std::string problem;
        const auto apply = [&] {
            Apply(change, problem);
            HostFileName(folder + "the end"); // one step more, to be cut at
        };
        Put(kBefore);
        const long steps = file_steps::CountSteps(apply);
        int subsets = 0;
        for (long step = 0; step < steps; ++step) {
            Put(kBefore);
            std::optional<power_cut::Cut> cut;
            ASSERT_TRUE(power_cut::CutAt(folder, step, apply, cut));
            for (int pass = 0; pass < cut->passes(); ++pass) {
                cut->leave(pass);
                RecoveredAsBeforeOrAfter(change, "cut at " + std::to_string(step) + ", pass " +
                                                     std::to_string(pass) + " of:\n" + cut->pending());
            }
            subsets += cut->passes() - 1;
            if (step == steps - 1) {
                EXPECT_EQ(cut->files(0), change.after) << change.name;
            }
        }
        EXPECT_GT(subsets, 0) << change.name;
    }
}

// A step refused once the record stands leaves the record standing: the
// change is finished by the next recovery, never left half done.
TEST_F(JournalTest, ARefusedStepIsFinishedByTheNextRecovery) {
    int stood = 0;
    for (const Change& change : kChanges) {
        std::string problem;
        Journal::Outcome outcome = Journal::Outcome::After;
        const auto apply = [&] { outcome = Apply(change, problem); };
        Put(kBefore);
        const long steps = file_steps::CountSteps(apply);
        for (long step = 0; step < steps; ++step) {
            Put(kBefore);
            problem.clear();
            ASSERT_TRUE(file_steps::FailingStep(step, apply));
            const std::string trace = std::string(change.name) + ", step " + std::to_string(step) + " refused: " + problem;
            const bool stands = outcome == Journal::Outcome::Stands;
            stood += stands;
            EXPECT_TRUE(!stands || (fs::exists(Record()) && problem.find(folder) != std::string::npos)) << trace;
            // What a refused step of the cleaning up leaves is recovery's.
            const std::string told = RecoverJournal(Record());
            EXPECT_TRUE(told.empty() ? !stands : told.find("has been finished") != std::string::npos) << trace << told;
            EXPECT_EQ(power_cut::FolderFiles(folder), outcome == Journal::Outcome::Before ? kBefore : change.after)
                << trace;
        }
    }
    EXPECT_GT(stood, 0);
}

// A change left standing is finished by a later recovery, whatever a
// change of the same files tries meanwhile: one made while the standing
// change cannot be finished (a folder in the way of its last rename) writes
// over neither its record nor its new files, and changes nothing.
TEST_F(JournalTest, AChangeStillStandingIsNeverWrittenOver) {
    const Change& first = kChanges[0];
    const Change second = {"the notes written", {{'w', "notes.txt", "second\r\n"}}, {}};
    std::string problem;
    Journal::Outcome outcome = Journal::Outcome::After;
    const auto applyFirst = [&] { outcome = Apply(first, problem); };
    Put(kBefore);
    const long steps = file_steps::CountSteps(applyFirst);
    int tried = 0;
    for (long step = 0; step < steps; ++step) {
        Put(kBefore);
        ASSERT_TRUE(file_steps::FailingStep(step, applyFirst));
        Files standing = power_cut::FolderFiles(folder);
        if (outcome != Journal::Outcome::Stands || standing.count("cup.rnd.tmp") == 0) continue;
        ++tried;
        standing.erase("cup.rnd");
        Put(standing);
        fs::create_directories(folder + "cup.rnd/in the way");
        EXPECT_EQ(Apply(second, problem), Journal::Outcome::Before) << "first stood after step " << step;
        EXPECT_NE(problem.find("still stands"), std::string::npos) << problem;
        // Its recovery may have gone on up to the folder in the way; the
        // record, the new file it waits for and the notes are as they were.
        Files now = power_cut::FolderFiles(folder);
        for (const char* name : {"cup.journal", "cup.rnd.tmp", "notes.txt"})
            EXPECT_EQ(now[name], standing[name]) << name << ", first stood after step " << step;
        fs::remove_all(folder + "cup.rnd");
        RecoverJournal(Record());
        EXPECT_EQ(power_cut::FolderFiles(folder), first.after) << "first stood after step " << step;
    }
    EXPECT_GT(tried, 0);
}

// A writer that finds it cannot write its file whole gives it up: the
// change then fails before anything is put in place, naming the file.
TEST_F(JournalTest, AFileGivenUpFailsTheChangeBefore) {
    Put(kBefore);
    std::string problem;
    {
        Journal journal(Record());
        std::fputs("qon 2\r\n", journal.write(folder + "cup.qon").stream());
        AtomicFileWriter& last = journal.write(folder + "cup.rnd");
        std::fputs("rnd", last.stream());
        last.discard();
        EXPECT_EQ(journal.commit(problem), Journal::Outcome::Before);
    }
    EXPECT_EQ(problem.rfind(folder + "cup.rnd", 0), 0u) << problem;
    EXPECT_EQ(power_cut::FolderFiles(folder), kBefore);
}

// A record standing beside a new file that is not whole (empty, cut short,
// a byte changed) is dropped: the old files stay, and the text names the
// file. A record of the previous version cannot be checked: it is dropped.
TEST_F(JournalTest, ARecordWhoseNewFilesAreNotWholeIsDropped) {
    const Change& save = kChanges[0];
    std::string problem;
    Journal::Outcome outcome = Journal::Outcome::After;
    const auto apply = [&] { outcome = Apply(save, problem); };
    // The first step refused that leaves the record standing with nothing done.
    long standing = 0;
    for (;; ++standing) {
        Put(kBefore);
        ASSERT_TRUE(file_steps::FailingStep(standing, apply));
        if (outcome == Journal::Outcome::Stands) break;
    }
    const std::pair<const char*, const char*> damages[] = {
        {"cup.qon.tmp", ""}, {"cup.rnd.tmp", "rnd 2\r"}, {"cup.rnd.tmp", "rnd 3\r\n"}};
    for (const auto& [name, bytes] : damages) {
        Put(kBefore);
        ASSERT_TRUE(file_steps::FailingStep(standing, apply));
        std::ofstream(folder + name, std::ios::binary) << bytes;
        const std::string told = RecoverJournal(Record());
        EXPECT_NE(told.find(std::string("its new files ") + name + " were not whole"), std::string::npos) << told;
        EXPECT_NE(told.find("as they were before"), std::string::npos) << told;
        EXPECT_EQ(power_cut::FolderFiles(folder), kBefore) << name;
    }
    // The previous version's record and an empty ".rnd.tmp" beside it.
    Files old = kBefore;
    old["cup.qon.commit"] = folder + "cup.qon\r\n" + folder + "cup.rnd\r\n";
    old["cup.qon.tmp"] = "qon 2\r\n";
    old["cup.rnd.tmp"] = "";
    Put(old);
    EXPECT_EQ(DropOldCommitRecord(folder + "cup.qon"),
              "A save stopped under an earlier version of the program cannot be checked, and was dropped: the "
              "files cup.qon, cup.rnd are as they were before it.");
    EXPECT_EQ(power_cut::FolderFiles(folder), kBefore);
    EXPECT_EQ(DropOldCommitRecord(folder + "cup.qon"), "");
}

} // namespace
