// A small tournament for the report tests, and helpers to read what the
// writers left in the data folder. Header only.
//
// Five players, so every round has a BYE board; one name holds '&' and '<',
// one has 21 characters, one a byte above 127. Round 1 has its results (a
// draw, a forfeit, the BYE), round 2 is paired and not played yet.
#pragma once

#include "support/tournament_state.h"
#include "tournament/files/line_reader.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

// Empties the test's own data folder under the output directory and points
// DataFolder at it (with its trailing '/').
inline std::string UseDataFolder(const std::string& name) {
    std::filesystem::path folder = std::filesystem::path(TM_TEST_OUTPUT_DIR) / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::string path = folder.string() + "/";
    CopyField(Settings.DataFolder, path);
    return path;
}

inline void SetPlayer(int id, const char* title, float score) {
    CopyField(Players[id].title, title);
    PlayerScores[id].score = score;
}

inline void SetUpReportTournament(const std::string& folderName) {
    ResetTournamentState();
    CopyField(Settings.Name, "Club \"Open\" 2026");
    CopyField(Settings.Place, "Roma");
    CopyField(Settings.BeginDate, "01.05.26");
    CopyField(Settings.EndDate, "03.05.26");
    Settings.PairingSystem = FideDubovSystem;
    UseDataFolder(folderName);
    AddTestPlayer("Rossi, Mario", 2210);
    AddTestPlayer("Smith & <Jones>", 2105);
    AddTestPlayer("Bianchi Luigi", 1998);
    AddTestPlayer("Verdi Giuseppe Antoni", 1850); // 21 characters
    AddTestPlayer("M\xDCller Hans", 0);
    SetPlayer(1, "FM", 1.5f);
    SetPlayer(2, "", 0.5f);
    SetPlayer(3, "1N", 0.0f);
    SetPlayer(4, "IM", 1.0f);
    SetPlayer(5, "", 1.0f);
    SetPlayer(0, "", 0.0f);
    SetTestBoard(1, 1, 1, 2, Draw);
    SetTestBoard(1, 2, 3, 4, BlackWinsForfeit);
    SetTestBoard(1, 3, 5, 0, WhiteWinsForfeit);
    SetTestBoard(2, 1, 4, 1, NotPlayed);
    SetTestBoard(2, 2, 2, 5, NotPlayed);
    SetTestBoard(2, 3, 3, 0, NotPlayed);
    SetCurrentRound(2);
    IsPairingDone = 1;
}

inline std::string DataFile(const std::string& name) { return std::string(Settings.DataFolder) + name; }

// The bytes of a file, or "<missing>" when it cannot be read.
inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return "<missing>";
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// How often part stands in text, counting from each match's end.
inline int CountOf(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
    return n;
}

inline bool FileExists(const std::string& path) { return std::filesystem::exists(path); }

// Runs a shell command; its exit status and what it printed.
struct CommandResult {
    int status;
    std::string output;
};
inline CommandResult RunCommand(const std::string& command) {
    CommandResult result{-1, ""};
    std::FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return result;
    char buffer[512];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, n);
    int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

inline bool ToolInstalled(const std::string& tool) {
    return RunCommand("command -v " + tool + " >/dev/null").status == 0;
}
