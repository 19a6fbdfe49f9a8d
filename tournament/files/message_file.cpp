#include "tournament/files/message_file.h"

#include "tournament/capacities.h"
#include "tournament/files/atomic_file.h"
#include "tournament/files/line_reader.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/run_options.h"

#include <cstdlib>
#include <vector>

namespace {

// The texts of a message file, or why it is not one.
struct MessageImage {
    std::vector<std::string> texts;
    int announced = 0; // the count of line 3, cut to the table
    std::string error;
};

// The decimal number at the start of the line (blanks before it allowed,
// anything after it ignored).
bool ParseCount(const std::string& text, int& count) {
    std::size_t at = text.find_first_not_of(" \t");
    if (at == std::string::npos) return false;
    std::size_t end = at;
    if (text[end] == '-' || text[end] == '+') ++end;
    const std::size_t digits = end;
    while (end < text.size() && end - digits < 9 && text[end] >= '0' && text[end] <= '9')
        ++end;
    if (end == digits) return false;
    count = std::atoi(text.substr(at, end - at).c_str());
    return true;
}

MessageImage ReadMessageImage(LineReader& reader) {
    MessageImage image;
    std::string line;
    for (int k = 0; k < 2; ++k) {
        if (!reader.next(line)) {
            image.error = reader.name() + ": the file ends before the count of texts on line 3";
            return image;
        }
    }
    int count = 0;
    if (!reader.next(line)) {
        image.error = reader.name() + ": the file ends before the count of texts on line 3";
        return image;
    }
    if (!ParseCount(line, count)) {
        image.error = reader.error("expected the count of texts");
        return image;
    }
    if (count < 0) {
        image.error = reader.error("the count of texts " + std::to_string(count) + " is below 0");
        return image;
    }
    if (count > MessageCount) count = MessageCount;
    image.announced = count;
    // Every line is one text: a line longer than a text holds is cut, and
    // the rest of it is dropped so that the later texts keep their numbers.
    while (static_cast<int>(image.texts.size()) < count && reader.next(line))
        image.texts.push_back(line.substr(0, MessageTextMax));
    return image;
}

} // namespace

bool LoadMessageFileFrom(const std::string& path) {
    LineReader reader(path);
    std::string error;
    MessageImage image;
    if (!reader.ok())
        error = path + ": the file cannot be opened";
    else {
        image = ReadMessageImage(reader);
        error = image.error;
    }
    if (!error.empty()) {
        // The table cannot supply this alert's texts: they are fixed here.
        ShowAlert("The message file cannot be read, so the program cannot start.\n" + error, "OK");
        return false;
    }
    ClearMessageTable();
    const int held = static_cast<int>(image.texts.size());
    for (int k = 0; k < MessageCount; ++k)
        SetMessageText(k, k < held ? image.texts[k] : std::string());
    if (held < image.announced) {
        // The program runs with what the file holds; this says why some of
        // its buttons and boxes will show no text (fixed words, as the
        // table may lack them).
        ShowAlert("The message file " + path + " announces " + std::to_string(image.announced) +
                      " texts on line 3 but holds only " + std::to_string(held) + ".\nThe texts from number " +
                      std::to_string(held) + " on are shown empty.",
                  "OK");
    }
    return true;
}

bool LoadMessageFile() {
    return LoadMessageFileFrom(ProgramFolder + MessageFileName);
}

bool InstallMessageFile(const std::string& path) {
    std::vector<std::string> lines;
    {
        LineReader reader(path);
        if (!reader.ok()) {
            ShowAlert(MessageText(MsgCannotReadMessageFile) + "\n" + path, MessageText(MsgClose));
            return false;
        }
        const MessageImage image = ReadMessageImage(reader);
        if (!image.error.empty()) {
            ShowAlert(MessageText(MsgCannotReadMessageFile) + "\n" + image.error, MessageText(MsgClose));
            return false;
        }
    }
    LineReader reader(path);
    std::string line;
    while (reader.next(line))
        lines.push_back(line);

    const std::string target = ProgramFolder + MessageFileName;
    AtomicFileWriter out(target);
    if (std::FILE* f = out.stream()) {
        for (const std::string& text : lines) {
            std::fwrite(text.data(), 1, text.size(), f);
            std::fputs("\r\n", f);
        }
        // The copy has always ended with one empty line more than the original.
        std::fputs("\r\n", f);
    }
    if (!out.commit()) {
        ShowAlert(MessageText(MsgCannotReplaceMessageFile) + "\n" + target, MessageText(MsgClose));
        return false;
    }
    ShowAlert(MessageText(MsgLanguageAtNextStart), MessageText(MsgClose));
    return true;
}
