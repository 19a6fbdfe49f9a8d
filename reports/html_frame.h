// The building blocks shared by every HTML page of the tournament's web site.
//
// The pages (home page, round pairing and result pages, cross table,
// standings, player cards) all append the same page head, navigation bar,
// title block, footer and page end to the text they build, and escape every
// stored text they print through HtmlEscape, so that a name holding '&', '<'
// or a quote cannot break a page. The pages declare ISO-8859-1 and keep the
// bytes above 127 of the Windows-1252 texts as they are.
#pragma once

#include <string>

// text with '&', '<', '>', '"' and '\'' replaced by character references.
std::string HtmlEscape(const std::string& text);

enum class HtmlHeadVariant { Standard, Home };

// Document type, <html>, the <head> with the (escaped) title and the style
// sheet, and <body>. The home page's variant frames its links.
void AppendHtmlHead(std::string& out, const std::string& title, HtmlHeadVariant variant = HtmlHeadVariant::Standard);
// The line of links to the home page and the three summary pages.
void AppendHtmlNavigation(std::string& out);
// The tournament name, then place and dates, as two headings.
void AppendHtmlTitleBlock(std::string& out);
// The rule and the line naming the program, with the link to its site.
void AppendHtmlFooter(std::string& out);
// </body> and </html>.
void AppendHtmlPageEnd(std::string& out);
