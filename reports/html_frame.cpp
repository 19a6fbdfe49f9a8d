#include "reports/html_frame.h"

#include "reports/report_file.h"
#include "tournament/settings.h"

std::string HtmlEscape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c; break;
        }
    }
    return out;
}

void AppendHtmlHead(std::string& out, const std::string& title, HtmlHeadVariant variant) {
    out += "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" "
           "\"http://www.w3.org/TR/html4/loose.dtd\">\n";
    AppendFormat(out, "<html>\n<head>\n<title>%s</title>\n", HtmlEscape(title).c_str());
    out += "<meta http-equiv=\"content-type\" content=\"text/html; charset=ISO-8859-1\"> \n"
           "<style type=\"text/css\">\n"
           "<!-- td {  font-size: x-medium; font-family: Verdana, Arial, Helvetica, sans-serif}\n"
           " th {  background-color: #FF9999; font-family: Verdana, Arial, Helvetica, sans-serif; "
           "font-size: medium; font-weight: bold; font-style: normal; color: #000000; clip:      rect(   )}\n";
    if (variant == HtmlHeadVariant::Home) {
        out += "A { font-family: verdana,arial,sans-serif; font-size:10pt; color: #0000FF; "
               "text-decoration: none ; border-style: solid } \n"
               "A:hover { font-family: verdana,arial,sans-serif; font-size: 10pt; color: #FFFFFF; "
               "background-color: #ff0000} \n";
    } else {
        out += "A { font-family: verdana,arial,sans-serif; font-size:10pt; color: #0000FF; text-decoration: none } \n"
               "A:hover { font-family: verdana,arial,sans-serif; font-size: 10pt; color: #FFFFFF; "
               "background-color: #ff0000 } \n";
    }
    out += "--> </style>\n</head>\n<body>\n";
}

void AppendHtmlNavigation(std::string& out) {
    out += "<h5> [<a href=\"index.html\"> Home </a> - <a href=\"crosstbl.html\"> Cross Table </a> - "
           "<a href=\"tblscore.html\"> Ranking List</a> - <a href=\"playercard.html\"> Player Card</a> ]</h5>\n";
}

void AppendHtmlTitleBlock(std::string& out) {
    AppendFormat(out, "<h2>%s</h2>\n", HtmlEscape(FieldText(Settings.Name)).c_str());
    AppendFormat(out, "<h2>%s - %s,%s</h2>\n", HtmlEscape(FieldText(Settings.Place)).c_str(),
                 HtmlEscape(FieldText(Settings.BeginDate)).c_str(), HtmlEscape(FieldText(Settings.EndDate)).c_str());
}

void AppendHtmlFooter(std::string& out) {
    out += "<hr width=\"100%\" size=\"2\"> \n<h5 align=\"center\"> Made with tourman </h5>\n";
}

void AppendHtmlPageEnd(std::string& out) { out += "</body>\n</html>\n"; }
