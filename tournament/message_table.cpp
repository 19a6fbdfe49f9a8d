#include "tournament/message_table.h"

#include <cstring>

const char* MessageTable[MessageCount];

std::string MessageText(int number) {
    if (number >= 0 && number < MessageCount && MessageTable[number] != nullptr) return MessageTable[number];
    return "[message " + std::to_string(number) + "]";
}

void SetMessageText(int number, const std::string& text) {
    if (number < 0 || number >= MessageCount) return;
    char* copy = new char[text.size() + 1];
    std::memcpy(copy, text.c_str(), text.size() + 1);
    delete[] MessageTable[number];
    MessageTable[number] = copy;
}

void ClearMessageTable() {
    for (const char*& entry : MessageTable) {
        delete[] entry;
        entry = nullptr;
    }
}
