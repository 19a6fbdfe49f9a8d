#include "tourman/pages/results/results_file.h"

#include "toolkit/widgets/file_browser.h"
#include "tourman/pages/results/result_entry.h"
#include "tourman/pages/results/results_list.h"
#include "tournament/files/line_reader.h"
#include "tournament/game_code.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/settings.h"

#include <cctype>

namespace {

constexpr const char* kOtherRound =
    "The selected file doens't correspond to the current round!\nPlease choose the correct one";

void Alert(const std::string& text) {
    ShowAlert(text, MessageText(MsgClose));
}

// A word of the file and the line it stands on.
struct Word {
    std::string text;
    int line;
};

// The file's words in order: white space of any kind, line ends included,
// separates them.
std::vector<Word> FileWords(LineReader& reader) {
    std::vector<Word> words;
    for (std::string line; reader.next(line);) {
        std::size_t at = 0;
        while (at < line.size()) {
            while (at < line.size() && std::isspace(static_cast<unsigned char>(line[at]))) ++at;
            std::size_t end = at;
            while (end < line.size() && !std::isspace(static_cast<unsigned char>(line[end]))) ++end;
            if (end > at) words.push_back({line.substr(at, end - at), reader.lineNumber()});
            at = end;
        }
    }
    return words;
}

std::string OnLine(const std::string& path, int line, const std::string& what) {
    return path + ", line " + std::to_string(line) + ": " + what;
}

} // namespace

bool ReadResultsFile(const std::string& path, int round, std::vector<int>& codes) {
    codes.clear();
    LineReader reader(path);
    if (!reader.ok()) {
        Alert(MessageText(MsgCannotOpenFile));
        return false;
    }
    const std::vector<Word> words = FileWords(reader);
    std::size_t next = 0;
    // The next word as a number; false at the end of the file or on a word
    // that is not one, which then names its line.
    auto number = [&](int& value, int& line) {
        if (next >= words.size()) return false;
        line = words[next].line;
        return ParseInt(words[next++].text, value);
    };

    int head[2], line = 1;
    for (int& value : head) {
        if (!number(value, line)) {
            Alert(OnLine(path, line, "expected the number of boards and the round"));
            return false;
        }
    }
    if (head[1] != CurrentRound) {
        Alert(kOtherRound);
        return false;
    }
    const int boards = RoundBoardCount(round);
    if (head[0] != boards) {
        Alert(OnLine(path, words[0].line, "the file holds " + std::to_string(head[0]) + " boards, round " +
                                     std::to_string(round) + " has " + std::to_string(boards)));
        return false;
    }
    std::vector<int> read;
    for (int board = 1; board <= boards; ++board) {
        int white, black, digit, game[3];
        DecodeGameCode(GameTable(board, round), white, black, digit);
        // A file cannot score the game a BYE's player never had.
        const int byeDigit = ByeBoardResult(white, black, IsRoundRobin());
        const bool bye = byeDigit >= 0;
        const std::string expected = "expected White " + std::to_string(white) + " and Black " +
                                     std::to_string(black) + " of board " + std::to_string(board) +
                                     (bye ? " and the BYE's result " + std::to_string(byeDigit)
                                          : std::string(" and a result digit 0 to 9"));
        for (int& value : game) {
            if (next >= words.size()) {
                Alert(path + ": the file ends early; " + expected);
                return false;
            }
            if (!number(value, line)) {
                Alert(OnLine(path, line, expected));
                return false;
            }
        }
        const bool digitFits = bye ? game[2] == byeDigit : game[2] >= 0 && game[2] <= 9;
        if (game[0] != white || game[1] != black || !digitFits) {
            Alert(OnLine(path, line, expected));
            return false;
        }
        read.push_back(EncodeGameCode(white, black, game[2]));
    }
    if (next < words.size()) {
        Alert(OnLine(path, words[next].line, "expected the end of the file after board " + std::to_string(boards)));
        return false;
    }
    codes = std::move(read);
    return true;
}

void LoadResultsFile() {
    if (!ResultEntryOpen()) {
        Alert("The result entry is closed: press \"" + MessageText(MsgEnterResults) + "\" first.");
        return;
    }
    if (IsRoundRobin()) {
        Alert(MessageText(MsgNotInRoundRobin));
        return;
    }
    std::string file, folder;
    if (!WkFileBrowser("Load File Results", "*.res", file, folder, 1)) return;
    std::vector<int> codes;
    if (!ReadResultsFile(folder + file, ShownRound, codes)) return;
    for (std::size_t i = 0; i < codes.size(); ++i) GameTable(int(i) + 1, ShownRound) = codes[i];
    ShowRound(ShownRound);
}
