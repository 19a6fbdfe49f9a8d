// The letters of Windows-1252, the one character set of the texts in memory
// and in files: which bytes are letters and how upper and lower case pair.
// Besides A-Z and a-z they are the accented letters 0xC0-0xFF (less 0xD7 and
// 0xF7), Š, Œ, Ž and Ÿ with their small forms (0x8A/0x9A, 0x8C/0x9C,
// 0x8E/0x9E, 0x9F/0xFF), ƒ (0x83), and ß (0xDF), ª (0xAA) and º (0xBA), the
// last four without an upper-case form. The C library's classes know none
// of them in the C locale. Every case folding of text goes through here.
#pragma once

// 1 when the byte (0..255) is a letter.
int WkIsLetter(int c);
// The byte's upper (lower) case form; anything without one comes back as it is.
int WkToUpper(int c);
int WkToLower(int c);

// Every letter of the text upper-cased in place; null comes back as it is.
char* WkUpperText(char* text);
// Negative, 0 or positive as strcmp, letters compared without regard to case.
int WkCompareTextNoCase(const char* a, const char* b);
